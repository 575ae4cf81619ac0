# edflib (Debian's libedf-dev) reads the exports back in the tests. It ships neither a
# CMake package nor a pkg-config file.
find_path(EDFLIB_INCLUDE_DIR edflib.h REQUIRED)
find_library(EDFLIB_LIBRARY edf REQUIRED)
add_library(Edflib::edf UNKNOWN IMPORTED GLOBAL)
set_target_properties(Edflib::edf PROPERTIES
  IMPORTED_LOCATION "${EDFLIB_LIBRARY}"
  INTERFACE_INCLUDE_DIRECTORIES "${EDFLIB_INCLUDE_DIR}")
