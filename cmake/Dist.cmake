# The release medium. `dist` lays it out as the setup programs expect to
# find it, in build/dist/Quorvel-<version>/ (the programs stripped, the help,
# the documents, the default parameter files and DEMOCNTS, all flat), and
# packs that folder into build/dist/Quorvel-<version>.zip. It only copies and
# strips what the build made: a few seconds.
#
# The help files are part of the ordinary build (the programs open them
# beside themselves), so their folder is added here too.
set(QV_VERSION 2.0)
add_subdirectory(${PROJECT_SOURCE_DIR}/help ${CMAKE_BINARY_DIR}/help)

set(QV_DIST_NAME Quorvel-${QV_VERSION})
set(QV_DIST_DIR ${CMAKE_BINARY_DIR}/dist)
# The unpacked medium; the setup tests install from it.
set(QV_MEDIUM_DIR ${QV_DIST_DIR}/${QV_DIST_NAME})
set(QV_DIST_ARCHIVE ${QV_DIST_DIR}/${QV_DIST_NAME}.zip)

# The programs of the medium. Test programs (QVRequest and the other tools
# of tests/apps) are not shipped: no program of the suite starts them.
set(QV_DIST_PROGRAMS
    Setup QVSetup ShellExe Quorvel QVConfig QVCtrlBar QVBarConfig Mendrel QVTaskSwitch QVViewer QVShlExe QVCtl)
set(qv_medium_source ${PROJECT_SOURCE_DIR}/medium)
set(QV_DIST_TEXTS readme.txt setup1.txt setup2.txt setup3.txt setup4.txt setup5.txt Quorvel.ini)
file(GLOB QV_DIST_DEMO RELATIVE ${qv_medium_source}/DEMOCNTS CONFIGURE_DEPENDS
     ${qv_medium_source}/DEMOCNTS/*.htm ${qv_medium_source}/DEMOCNTS/*.txt ${qv_medium_source}/DEMOCNTS/*.wav)

set(qv_medium_files)
function(qv_medium_copy source name)
  add_custom_command(OUTPUT ${QV_MEDIUM_DIR}/${name}
                     COMMAND ${CMAKE_COMMAND} -E copy ${source} ${QV_MEDIUM_DIR}/${name}
                     DEPENDS ${source} VERBATIM)
  set(qv_medium_files ${qv_medium_files} ${name} PARENT_SCOPE)
endfunction()

foreach(program IN LISTS QV_DIST_PROGRAMS)
  # The build keeps line tables for winedbg; the medium has no use for them.
  add_custom_command(OUTPUT ${QV_MEDIUM_DIR}/${program}.exe
                     COMMAND ${CMAKE_COMMAND} -E make_directory ${QV_MEDIUM_DIR}
                     COMMAND ${CMAKE_STRIP} -o ${QV_MEDIUM_DIR}/${program}.exe $<TARGET_FILE:${program}>
                     DEPENDS ${program} VERBATIM)
  list(APPEND qv_medium_files ${program}.exe)
endforeach()
foreach(name IN ITEMS Lumarch.chm Mendrel.chm)
  qv_medium_copy(${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${name} ${name})
endforeach()
foreach(name IN LISTS QV_DIST_TEXTS)
  qv_medium_copy(${qv_medium_source}/${name} ${name})
endforeach()
# The bar's sample has no paths to make absolute: the medium takes it as it is.
qv_medium_copy(${PROJECT_SOURCE_DIR}/examples/QVCtrlBar.ini QVCtrlBar.ini)
qv_medium_copy(${QV_FIRST_EXEC_HELP} DEMOCNTS/FirstExec.chm)
foreach(name IN LISTS QV_DIST_DEMO)
  qv_medium_copy(${qv_medium_source}/DEMOCNTS/${name} DEMOCNTS/${name})
endforeach()

# Only the files listed go into the archive, whatever else a former layout
# left in the folder.
set(qv_archived)
set(qv_medium_paths)
foreach(name IN LISTS qv_medium_files)
  list(APPEND qv_archived ${QV_DIST_NAME}/${name})
  list(APPEND qv_medium_paths ${QV_MEDIUM_DIR}/${name})
endforeach()
add_custom_command(OUTPUT ${QV_DIST_ARCHIVE}
                   COMMAND ${CMAKE_COMMAND} -E rm -f ${QV_DIST_ARCHIVE}
                   COMMAND ${CMAKE_COMMAND} -E tar cf ${QV_DIST_ARCHIVE} --format=zip ${qv_archived}
                   WORKING_DIRECTORY ${QV_DIST_DIR}
                   DEPENDS ${qv_medium_paths}
                   COMMENT "Packing ${QV_DIST_NAME}.zip"
                   VERBATIM)
add_custom_target(dist DEPENDS ${QV_DIST_ARCHIVE})
# The help files are made in their own folder: the target, not the files, is
# what this folder can depend on.
add_dependencies(dist helpfiles)
