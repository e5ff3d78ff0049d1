// Sections, keys and load defaults of Mirvan.ini, in one place for every
// reader and writer of the settings file.
#pragma once

namespace settings {

// Sections.
inline constexpr const char* kSettings = "Settings";
inline constexpr const char* kEditor = "Editor";
inline constexpr const char* kHistory = "RFL";

// Section Editor.
inline constexpr const char* kEdit = "EDIT";  // default: the platform's defaultEditor
// The command that opens a file at a line, %f the file and %l the line;
// empty: the known editors' own ways, else the file alone.
inline constexpr const char* kEditLine = "EDITLINE";

// Section Settings.
inline constexpr const char* kTeX = "TeX";
inline constexpr const char* kBib = "Bib";  // default: the platform's japaneseBibTeX
inline constexpr const char* kDviPdf = "DviPdf";
inline constexpr const char* kMkIdx = "MkIdx";
inline constexpr const char* kMkIdxOpt = "MkIdxOpt";
inline constexpr const char* kMkIdxNvr = "MkIdxNvr";
inline constexpr const char* kPdfNShow = "PdfNShow";
inline constexpr const char* kPdfNeShow = "PdfNeShow";
inline constexpr const char* kPdfSizeNo = "PdfSizeNo";
inline constexpr const char* kAcr = "Acr";
// Compile when the document or a file it reads is saved (1) or not (0).
inline constexpr const char* kCompileOnSave = "CompileOnSave";

// Section RFL: kHistoryKeyPrefix + position, "File0" (most recent) to "File15".
inline constexpr const char* kHistoryKeyPrefix = "File";
inline constexpr int kHistoryKeys = 16;

// Defaults.
inline constexpr const char* kDefaultEditLine = "";
inline constexpr const char* kDefaultTeX = "platex";
inline constexpr const char* kDefaultDviPdf = "dvipdfmx";
inline constexpr const char* kDefaultMkIdx = "mendex";
// At start-up only; every later reader (reload, the MakeIndex options
// dialog) takes the empty string.
inline constexpr const char* kDefaultMkIdxOptAtStart = "-s myindex";
inline constexpr const char* kDefaultMkIdxOpt = "";
inline constexpr int kDefaultMkIdxNvr = 0;
inline constexpr int kDefaultPdfNShow = 0;
inline constexpr int kDefaultPdfNeShow = 0;
inline constexpr int kDefaultPdfSizeNo = 1;  // A4
inline constexpr int kDefaultAcr = 0;
inline constexpr int kDefaultCompileOnSave = 0;

}  // namespace settings
