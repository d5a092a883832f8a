# The program's manifest and icons for the Windows executables beside it (tests, showcases,
# benchmarks), so that they see comctl32 v6 and the Launch icons as the program does.
# Defines VARNEL_HELPER_RESOURCES, to be added to such an executable's sources.
set(VARNEL_HELPER_RESOURCES ${PROJECT_SOURCE_DIR}/resources/HelperResources.rc)
set_property(SOURCE ${VARNEL_HELPER_RESOURCES} APPEND PROPERTY INCLUDE_DIRECTORIES
  ${PROJECT_SOURCE_DIR}/resources)
file(GLOB VARNEL_LAUNCH_ICONS ${PROJECT_SOURCE_DIR}/resources/icons/*.ico)
set_property(SOURCE ${VARNEL_HELPER_RESOURCES} APPEND PROPERTY OBJECT_DEPENDS
  ${PROJECT_SOURCE_DIR}/resources/varnel.manifest ${PROJECT_SOURCE_DIR}/resources/varnel.ico
  ${PROJECT_SOURCE_DIR}/resources/ResourceIds.h ${VARNEL_LAUNCH_ICONS})
