# The shipped libraries and programs, assembled from the subsystem libraries.
# A deliverable links its subsystems' archives whole, so every exported
# function lands in it; the base library is linked as an ordinary archive, so
# each deliverable takes (and owns) only the base objects it uses.

# LumoGame: the run-time system with the base types it needs.
add_library(LumoGame SHARED ${CMAKE_SOURCE_DIR}/runtime/LumoGameLibrary.cpp)
target_link_libraries(LumoGame
  PRIVATE "$<LINK_LIBRARY:WHOLE_ARCHIVE,lumo_runtime>" lumo_base lumo_platform)
target_include_directories(LumoGame PUBLIC ${CMAKE_SOURCE_DIR})
target_link_options(LumoGame PRIVATE -Wl,--no-undefined)

# Cogito: the game logic with its own copy of the navigation, on the run-time
# system's debug log.
add_library(Cogito SHARED ${CMAKE_SOURCE_DIR}/logic/core/CogitoLibrary.cpp)
target_link_libraries(Cogito
  PRIVATE "$<LINK_LIBRARY:WHOLE_ARCHIVE,lumo_logic_core>" "$<LINK_LIBRARY:WHOLE_ARCHIVE,lumo_navigation>"
          lumo_base LumoGame)
target_include_directories(Cogito PUBLIC ${CMAKE_SOURCE_DIR})
target_link_options(Cogito PRIVATE -Wl,--no-undefined)

# Trial1: the material plug-in for the modelling tool, built twice from the
# same sources, with the tool's texture and modifier plug-in extensions. It
# holds only its own code and our stand-in of the tool's interface, and
# exports only its entry points.
foreach(extension IN ITEMS dlt dlm)
  add_library(Trial1_${extension} MODULE ${CMAKE_SOURCE_DIR}/maxplugin/Trial1Library.cpp)
  target_link_libraries(Trial1_${extension} PRIVATE "$<LINK_LIBRARY:WHOLE_ARCHIVE,lumo_maxplugin>" lumo_maxsdk)
  set_target_properties(Trial1_${extension} PROPERTIES OUTPUT_NAME Trial1 PREFIX "" SUFFIX ".${extension}")
  target_link_options(Trial1_${extension} PRIVATE -Wl,--no-undefined)
endforeach()

# LumoConnection: the network library on the run-time system, with the
# platform layer's socket events of its own.
if(TARGET lumo_network)
  add_library(LumoConnection SHARED ${CMAKE_SOURCE_DIR}/network/LumoConnectionLibrary.cpp)
  target_link_libraries(LumoConnection
    PRIVATE "$<LINK_LIBRARY:WHOLE_ARCHIVE,lumo_network>" lumo_platform LumoGame)
  target_include_directories(LumoConnection PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_options(LumoConnection PRIVATE -Wl,--no-undefined)
endif()
