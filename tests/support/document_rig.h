// The document's tests: a Document made in the scripted start folder.
#pragma once

#include "document/document.h"
#include "support/fakes.h"

template <typename Platform = ScriptedPlatform>
struct DocumentOn : WorldOn<Platform> {
  using WorldOn<Platform>::WorldOn;
  Document doc{this->env};
};
