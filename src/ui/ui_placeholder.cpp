// PLACEHOLDER (UI owner removes this file)
namespace mirvan_ui_placeholder { int dummy = 0; }
