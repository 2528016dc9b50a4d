# The workbench program kest: shell pieces, frames and the program itself.
find_package(Qt6 REQUIRED COMPONENTS Widgets Multimedia PrintSupport Network)
find_package(ALSA REQUIRED)

# The sound effects, written by a small generator at build time into <program folder>/sound.
add_executable(kestsoundgen soundgen/main.cpp)
set_target_properties(kestsoundgen PROPERTIES AUTOMOC OFF
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
set(kest_sound_files switch drag termdown connect views delete undo burn bellring)
list(TRANSFORM kest_sound_files PREPEND ${KEST_BIN_DIR}/sound/)
list(TRANSFORM kest_sound_files APPEND .wav)
add_custom_command(OUTPUT ${kest_sound_files}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${KEST_BIN_DIR}/sound
    COMMAND kestsoundgen ${KEST_BIN_DIR}/sound
    DEPENDS kestsoundgen
    COMMENT "Writing the sound effects")
add_custom_target(kest_sounds DEPENDS ${kest_sound_files})

# The help page ships beside the program.
add_custom_command(OUTPUT ${KEST_BIN_DIR}/kest.html
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/resources/help/kest.html ${KEST_BIN_DIR}/kest.html
    DEPENDS ${CMAKE_SOURCE_DIR}/resources/help/kest.html)
add_custom_target(kest_help DEPENDS ${KEST_BIN_DIR}/kest.html)

# Pieces of the shell that the workbench view uses too: sound, palette menus, pictures,
# the profile file and the volume dialog.
add_library(kest_shell STATIC
    Sound.cpp Mixer.cpp VolumeDlg.cpp ResourceArt.cpp PaletteMenus.cpp ProfileFile.cpp)
target_include_directories(kest_shell PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(kest_shell PUBLIC kest_state kest Qt6::Widgets Qt6::Multimedia ALSA::ALSA
    ${CMAKE_DL_LIBS})
add_dependencies(kest_shell kest_sounds kest_help)

if(EXISTS ${CMAKE_SOURCE_DIR}/model/CMakeLists.txt AND EXISTS ${CMAKE_SOURCE_DIR}/editor/CMakeLists.txt)
    # Application object, frames, About box, single instance, shell registration, help.
    add_library(kest_app STATIC
        VonnApp.cpp MainFrame.cpp ChildFrame.cpp AboutDlg.cpp SingleInstance.cpp
        ShellRegistration.cpp HelpWindow.cpp)
    target_include_directories(kest_app PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(kest_app PUBLIC kest_editor kest_simulation kest_shell kest_model
        Qt6::Widgets Qt6::PrintSupport Qt6::Network)

    add_executable(kest_program main.cpp)
    set_target_properties(kest_program PROPERTIES OUTPUT_NAME kest)
    target_link_libraries(kest_program PRIVATE kest_app kest_simulation)

else()
    add_library(kest_app INTERFACE)
    target_link_libraries(kest_app INTERFACE kest_shell)
endif()
