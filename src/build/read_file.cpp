#include "core/mirvan_dlg.h"
// PLACEHOLDER (compile owner replaces this file)
void ReadWholeFile(const std::string&, std::string& out) { out.clear(); }
