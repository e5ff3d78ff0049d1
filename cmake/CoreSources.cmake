# Sources of the toolkit-free core. Shared by the native build and the
# Windows cross build, so the two never drift apart.
file(GLOB MIRVAN_CORE_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/src/text/*.cpp
  ${CMAKE_SOURCE_DIR}/src/config/*.cpp
  ${CMAKE_SOURCE_DIR}/src/doc/*.cpp
  ${CMAKE_SOURCE_DIR}/src/build/*.cpp
  ${CMAKE_SOURCE_DIR}/src/core/*.cpp
  ${CMAKE_SOURCE_DIR}/src/platform/*.cpp)
if(WIN32)
  file(GLOB _plat CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/platform/win/*.cpp)
else()
  file(GLOB _plat CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/platform/posix/*.cpp)
endif()
list(APPEND MIRVAN_CORE_SOURCES ${_plat})
