# Build settings on interface targets, in one place.
#
# project_settings: every target of the project, passed on by `common`, on which everything
# is built: the warnings, errors with -DWARNINGS_AS_ERRORS=ON (as the test command builds).
option(WARNINGS_AS_ERRORS "Treat every compiler warning as an error" OFF)

add_library(project_settings INTERFACE)
target_compile_options(project_settings INTERFACE
  -Wall -Wextra -Wpedantic -Wold-style-cast -Wnon-virtual-dtor -Wcast-qual -Woverloaded-virtual
  $<$<BOOL:${WARNINGS_AS_ERRORS}>:-Werror>)

# program_text_rules: the program's own libraries and executable. No implicit conversion
# between QString and 8-bit text: each place says which encoding its bytes are in. (The
# tests keep writing their expected texts as plain literals.)
add_library(program_text_rules INTERFACE)
target_compile_definitions(program_text_rules INTERFACE
  QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_NO_CAST_FROM_BYTEARRAY)
