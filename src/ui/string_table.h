// The program's string table (res/strings.json): menu texts and tooltips,
// looked up by number as the window asks for them.
#pragma once

#include <QIcon>
#include <QString>

// The program's resources (icons, strings, dialog tables) live in the static
// UI library; this makes sure the linker keeps them. Safe to call repeatedly.
void EnsureUiResources();

// Icon resource `id`: the image drawn from its SVG at build time, which
// needs no image plugin; the SVG itself where there is no such image.
QIcon ResourceIcon(int id);

// The whole string, or an empty one when the table has no such id.
QString LoadResString(int id);

// A control's tooltip: its string after the leading line break (the part
// before it would be a status bar text, which the bar does not have). Empty
// when the control has no string.
QString ToolTipText(int controlId);
