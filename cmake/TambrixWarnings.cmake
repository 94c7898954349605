# Warnings for the project's own code (never for JUCE's sources).
add_library(tambrix_warnings INTERFACE)
target_compile_options(tambrix_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wcast-align
  -Wunused -Woverloaded-virtual -Wnull-dereference -Wdouble-promotion
  -Wformat=2 -Wimplicit-fallthrough)
