# The Windows program itself: varnel.exe from the program's code, the Win32 platform and the
# resources (icon, version, manifest). Included by the top-level CMakeLists when WIN32.
enable_language(RC)

add_executable(varnel WIN32 app/main.cpp resources/varnel.rc)
target_link_libraries(varnel PRIVATE varnel_core varnel_win32)
set_property(SOURCE resources/varnel.rc APPEND PROPERTY OBJECT_DEPENDS
  ${CMAKE_CURRENT_SOURCE_DIR}/resources/varnel.ico
  ${CMAKE_CURRENT_SOURCE_DIR}/resources/varnel.manifest
  ${CMAKE_CURRENT_SOURCE_DIR}/resources/ResourceIds.h)
file(GLOB VARNEL_ICON_FILES ${CMAKE_CURRENT_SOURCE_DIR}/resources/icons/*.ico)
set_property(SOURCE resources/varnel.rc APPEND PROPERTY OBJECT_DEPENDS ${VARNEL_ICON_FILES})

if(MSVC)
  # app/main.cpp has int main(); a GUI program's default entry would look for WinMain. The
  # manifest comes from the resource script, not from the linker.
  target_link_options(varnel PRIVATE /ENTRY:mainCRTStartup /MANIFEST:NO)
  set_property(TARGET varnel PROPERTY MSVC_RUNTIME_LIBRARY "MultiThreaded$<$<CONFIG:Debug>:Debug>")
endif()
# MinGW's start-up code calls main() for GUI programs too; the static runtime comes from the
# toolchain file's linker flags.
if(NOT MSVC)
  # The shipped program carries no symbol tables: half the size, nothing lost at run time.
  target_link_options(varnel PRIVATE $<$<CONFIG:Release>:-s>)
endif()

# What a user downloads: varnel-<version>-win64.zip with the program and its help at the top,
# to be unzipped anywhere. Nothing else: the settings file is made beside the exe at the first
# exit. `cpack --preset windows` builds it from the windows preset's build.
install(TARGETS varnel RUNTIME DESTINATION .)
install(DIRECTORY varnel_help DESTINATION .)
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME varnel)
set(CPACK_PACKAGE_FILE_NAME "varnel-${PROJECT_VERSION}-win64")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
include(CPack)
