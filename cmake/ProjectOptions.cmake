# One INTERFACE target that carries the language standard, the warnings and
# the strict Qt defines. Every target of the project links it; nothing else
# repeats flags.
add_library(project_options INTERFACE)

target_compile_features(project_options INTERFACE cxx_std_20)
set(CMAKE_CXX_EXTENSIONS OFF)

target_compile_options(project_options INTERFACE
  -Wall -Wextra -pedantic -Wold-style-cast -Wnon-virtual-dtor
  -Wcast-align -Woverloaded-virtual -Wimplicit-fallthrough)

option(KORVALLA_WERROR "Treat warnings as errors" OFF)
if(KORVALLA_WERROR)
  target_compile_options(project_options INTERFACE -Werror)
endif()

target_compile_definitions(project_options INTERFACE
  QT_NO_CAST_FROM_ASCII
  QT_NO_CAST_TO_ASCII
  QT_NO_CAST_FROM_BYTEARRAY
  QT_NO_URL_CAST_FROM_STRING
  QT_NO_CONTEXTLESS_CONNECT
  QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
  QT_NO_FOREACH
  QT_NO_KEYWORDS
  QT_USE_QSTRINGBUILDER
  $<$<CONFIG:Debug>:QT_FORCE_ASSERTS>
  $<$<CONFIG:Debug>:_GLIBCXX_ASSERTIONS>)

# KORVALLA_SANITIZE: empty, "address,undefined" or "thread".
set(KORVALLA_SANITIZE "" CACHE STRING "Sanitizers to build with")
if(KORVALLA_SANITIZE)
  target_compile_options(project_options INTERFACE
    -fsanitize=${KORVALLA_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  target_link_options(project_options INTERFACE -fsanitize=${KORVALLA_SANITIZE})
endif()
