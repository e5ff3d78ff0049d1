# The numbers of the dialogs, controls, strings and icons, named once: read
# from res/dialogs/*.json and res/strings.json (the files both front ends
# draw their windows from) into config/resource_ids.h under the build
# folder. Nothing in the code writes one of these numbers by hand.
#
# A control's "name" names it; the same name in two dialogs must mean the
# same number (OK and Cancel), or the configuration fails.
set(_res ${MIRVAN_ROOT}/res)
file(GLOB _dialog_files ${_res}/dialogs/*.json)
list(SORT _dialog_files)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_dialog_files} ${_res}/strings.json)

set(_dialogs "")
set(_controls "")
set(_icons "")
set(_button_icons "")
set(_seen_controls "")
foreach(_file ${_dialog_files})
  file(READ ${_file} _json)
  string(JSON _id GET "${_json}" id)
  string(JSON _name GET "${_json}" name)
  string(APPEND _dialogs "inline constexpr int k${_name} = ${_id};\n")
  string(JSON _icon ERROR_VARIABLE _no_icon GET "${_json}" icon)
  if(NOT _no_icon)
    string(APPEND _icons "inline constexpr int k${_name}Window = ${_icon};\n")
  endif()
  string(JSON _count LENGTH "${_json}" controls)
  math(EXPR _last "${_count} - 1")
  foreach(_i RANGE ${_last})
    string(JSON _control GET "${_json}" controls ${_i})
    string(JSON _cid GET "${_control}" id)
    string(JSON _kind GET "${_control}" kind)
    string(JSON _cname ERROR_VARIABLE _unnamed GET "${_control}" name)
    if(NOT _unnamed)
      if(DEFINED _control_${_cname})
        if(NOT _control_${_cname} EQUAL _cid)
          message(FATAL_ERROR "${_file}: control ${_cname} is ${_cid} here and ${_control_${_cname}} elsewhere")
        endif()
      else()
        set(_control_${_cname} ${_cid})
        string(APPEND _controls "inline constexpr int k${_cname} = ${_cid};\n")
      endif()
    endif()
    if(_kind STREQUAL "iconbutton")
      string(JSON _bicon GET "${_control}" icon)
      string(APPEND _button_icons "    {${_cid}, ${_bicon}},\n")
    endif()
  endforeach()
endforeach()

file(READ ${_res}/strings.json _strings_json)
set(_strings "")
string(JSON _count LENGTH "${_strings_json}" names)
if(_count GREATER 0)
  math(EXPR _last "${_count} - 1")
  foreach(_i RANGE ${_last})
    string(JSON _sname MEMBER "${_strings_json}" names ${_i})
    string(JSON _sid GET "${_strings_json}" names ${_sname})
    string(JSON _stext ERROR_VARIABLE _missing GET "${_strings_json}" strings ${_sid})
    if(_missing)
      message(FATAL_ERROR "res/strings.json: ${_sname} names string ${_sid}, which the table lacks")
    endif()
    string(APPEND _strings "inline constexpr int k${_sname} = ${_sid};\n")
  endforeach()
endif()

set(MIRVAN_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
set(_header "// Made by cmake/ResourceIds.cmake from res/dialogs/*.json and res/strings.json.
#pragma once

// The dialog templates.
namespace dialog {
${_dialogs}}  // namespace dialog

// The controls of every dialog, by their names in the templates.
namespace control {
${_controls}}  // namespace control

// The string table's named entries; a control's tooltip is the string with
// the control's own number.
namespace string_id {
${_strings}}  // namespace string_id

// The icon each window shows.
namespace icon {
${_icons}}  // namespace icon

// The main window's icon buttons and their pictures, in template order.
struct ButtonIcon {
  int control;
  int icon;
};
inline constexpr ButtonIcon kButtonIcons[] = {
${_button_icons}};
")
# Written only when it changes, so a reconfigure does not rebuild everything.
file(CONFIGURE OUTPUT ${MIRVAN_GENERATED_DIR}/config/resource_ids.h CONTENT "${_header}" @ONLY)
