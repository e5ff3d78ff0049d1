# Sources of the toolkit-free core. Shared by the native build and the
# Windows cross build, so the two never drift apart.
if(NOT DEFINED MIRVAN_ROOT)
  set(MIRVAN_ROOT ${CMAKE_SOURCE_DIR})
endif()
file(GLOB MIRVAN_CORE_SOURCES CONFIGURE_DEPENDS
  ${MIRVAN_ROOT}/src/text/*.cpp
  ${MIRVAN_ROOT}/src/config/*.cpp
  ${MIRVAN_ROOT}/src/doc/*.cpp
  ${MIRVAN_ROOT}/src/build/*.cpp
  ${MIRVAN_ROOT}/src/core/*.cpp
  ${MIRVAN_ROOT}/src/platform/*.cpp)
if(WIN32)
  file(GLOB _plat CONFIGURE_DEPENDS ${MIRVAN_ROOT}/src/platform/win/*.cpp)
else()
  file(GLOB _plat CONFIGURE_DEPENDS ${MIRVAN_ROOT}/src/platform/posix/*.cpp)
endif()
list(APPEND MIRVAN_CORE_SOURCES ${_plat})
