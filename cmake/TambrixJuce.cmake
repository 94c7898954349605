# JUCE's modules, compiled once into one position-independent static library that
# the processor, the tools, the tests and the plug-in's shared object share.
# Every target that includes JUCE headers links tambrix_juce and so sees the same
# configuration macros as the modules were built with.
find_package(JPEG REQUIRED)
find_package(PNG REQUIRED)
find_package(ZLIB REQUIRED)

include(${CMAKE_CURRENT_LIST_DIR}/TambrixPluginIdentity.cmake)

add_library(tambrix_juce STATIC)
target_link_libraries(tambrix_juce
  PRIVATE
    juce::juce_core
    juce::juce_events
    juce::juce_data_structures
    juce::juce_graphics
    juce::juce_gui_basics
    juce::juce_audio_basics
    juce::juce_audio_processors
  PUBLIC
    juce::juce_recommended_config_flags
    tambrix_plugin_identity
    JPEG::JPEG PNG::PNG ZLIB::ZLIB)

target_compile_definitions(tambrix_juce
  PUBLIC
    JUCE_WEB_BROWSER=0
    JUCE_USE_CURL=0
    JUCE_INCLUDE_JPEGLIB_CODE=0
    JUCE_INCLUDE_PNGLIB_CODE=0
    JUCE_INCLUDE_ZLIB_CODE=0
    JUCE_DISPLAY_SPLASH_SCREEN=0
    JUCE_REPORT_APP_USAGE=0
    JUCE_STANDALONE_APPLICATION=0
  INTERFACE
    $<TARGET_PROPERTY:tambrix_juce,COMPILE_DEFINITIONS>)

target_include_directories(tambrix_juce SYSTEM
  INTERFACE
    $<TARGET_PROPERTY:tambrix_juce,INCLUDE_DIRECTORIES>)

set_target_properties(tambrix_juce PROPERTIES
  POSITION_INDEPENDENT_CODE TRUE
  VISIBILITY_INLINES_HIDDEN TRUE
  C_VISIBILITY_PRESET hidden
  CXX_VISIBILITY_PRESET hidden)
