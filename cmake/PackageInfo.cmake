# Package information: each of the program's modules carries a table of the units it contains (its
# source files by name, those of the static libraries linked into it included), the packages it
# requires and, for a loadable module, a description. The package information window reads it.
#
#   lrf_package_information(<target> [MAIN <source file name>] [DESCRIPTION <text>] [FLAGS <n>]
#                           [REQUIRES <package>...])
#
# MAIN names the main unit (default: main.cpp when the target has one); every other unit is a package
# unit. FLAGS: 2 design only, 4 run only. An executable registers itself in the module list at start;
# a module exports the table for its loader.
set(LRF_PACKAGE_INFO_DIR ${CMAKE_BINARY_DIR}/package-info)

function(lrf_package_information target)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "" "MAIN;DESCRIPTION;FLAGS" "REQUIRES")
  if(NOT DEFINED ARG_FLAGS)
    set(ARG_FLAGS 0)
  endif()
  # The units are known once every library is defined: written at the end of the configuration.
  cmake_language(EVAL CODE "
    cmake_language(DEFER DIRECTORY [[${CMAKE_SOURCE_DIR}]] CALL _lrf_write_package_information
      [[${target}]] [[${ARG_MAIN}]] [[${ARG_DESCRIPTION}]] [[${ARG_FLAGS}]] [[${ARG_REQUIRES}]])")
endfunction()

# The C++ literal of a text: quotes, backslashes and control characters escaped.
function(_lrf_c_literal text out)
  string(REPLACE "\\" "\\\\" text "${text}")
  string(REPLACE "\"" "\\\"" text "${text}")
  string(REPLACE "\n" "\\n" text "${text}")
  string(REPLACE "\r" "\\r" text "${text}")
  string(REPLACE "\t" "\\t" text "${text}")
  set(${out} "\"${text}\"" PARENT_SCOPE)
endfunction()

# Source files of `target` followed by those of the static libraries it links, depth first.
function(_lrf_unit_sources target seen_var out_var)
  set(seen ${${seen_var}})
  set(result ${${out_var}})
  if(NOT TARGET ${target} OR target IN_LIST seen)
    return()
  endif()
  list(APPEND seen ${target})
  get_target_property(imported ${target} IMPORTED)
  get_target_property(type ${target} TYPE)
  if(imported OR type STREQUAL "INTERFACE_LIBRARY")
    set(${seen_var} ${seen} PARENT_SCOPE)
    return()
  endif()
  get_target_property(sources ${target} SOURCES)
  get_target_property(source_dir ${target} SOURCE_DIR)
  set(object_libraries "")
  foreach(source IN LISTS sources)
    if(source MATCHES "^\\$<TARGET_OBJECTS:([^>]+)>$")
      list(APPEND object_libraries ${CMAKE_MATCH_1})
      continue()
    endif()
    if(source MATCHES "\\$<" OR NOT source MATCHES "\\.(cpp|cc|cxx|c)$")
      continue()
    endif()
    if(source MATCHES "^${LRF_PACKAGE_INFO_DIR}/")
      continue()
    endif()
    if(NOT IS_ABSOLUTE "${source}")
      set(source "${source_dir}/${source}")
    endif()
    list(APPEND result "${source}")
  endforeach()
  foreach(library IN LISTS object_libraries)
    _lrf_unit_sources(${library} seen result)
  endforeach()
  get_target_property(links ${target} LINK_LIBRARIES)
  foreach(link IN LISTS links)
    if(link MATCHES "\\$<" OR NOT TARGET ${link})
      continue()
    endif()
    get_target_property(link_type ${link} TYPE)
    if(link_type STREQUAL "STATIC_LIBRARY" OR link_type STREQUAL "OBJECT_LIBRARY")
      _lrf_unit_sources(${link} seen result)
    endif()
  endforeach()
  set(${seen_var} ${seen} PARENT_SCOPE)
  set(${out_var} ${result} PARENT_SCOPE)
endfunction()

function(_lrf_write_package_information target main description flags requires)
  if(NOT TARGET ${target})
    return()
  endif()
  set(seen "")
  set(sources "")
  _lrf_unit_sources(${target} seen sources)
  if(main STREQUAL "")
    set(main "main.cpp")
  endif()

  set(names "")
  set(units "")
  foreach(source IN LISTS sources)
    get_filename_component(file_name "${source}" NAME)
    get_filename_component(unit "${source}" NAME_WE)
    if(unit IN_LIST names)
      continue()
    endif()
    list(APPEND names "${unit}")
    _lrf_c_literal("${unit}" literal)
    if(file_name STREQUAL main)
      set(units "    {${literal}, kLrfMainUnit},\n${units}")
    else()
      string(APPEND units "    {${literal}, kLrfPackageUnit},\n")
    endif()
  endforeach()
  list(LENGTH names unit_count)
  if(unit_count EQUAL 0)
    set(units "    {nullptr, 0},\n")
  endif()

  set(packages "")
  foreach(package IN LISTS requires)
    _lrf_c_literal("${package}" literal)
    string(APPEND packages "    ${literal},\n")
  endforeach()
  list(LENGTH requires required_count)
  if(required_count EQUAL 0)
    set(packages "    nullptr,\n")
  endif()
  _lrf_c_literal("${description}" description_literal)

  get_target_property(type ${target} TYPE)
  set(code "// Written by the build: the package information of ${target}.\n")
  if(type STREQUAL "EXECUTABLE")
    string(APPEND code "#include \"database/ModuleList.h\"\n")
  else()
    string(APPEND code "#include \"database/PackageInfo.h\"\n")
  endif()
  string(APPEND code "\nnamespace {\n\n"
    "const LrfPackageUnit kUnits[] = {\n${units}};\n\n"
    "const char* const kRequires[] = {\n${packages}};\n\n"
    "const LrfPackageInfo kPackageInfo = {kLrfPackageInfoVersion, ${flags}u, ${description_literal}, kRequires, "
    "${required_count}, kUnits, ${unit_count}};\n\n")
  if(type STREQUAL "EXECUTABLE")
    string(APPEND code "const lrf::ModuleRegistration kProgram = lrf::RegisterProgram(&kPackageInfo);\n\n"
      "} // namespace\n")
  else()
    string(APPEND code "} // namespace\n\n"
      "extern \"C\" LRF_MODULE_EXPORT const LrfPackageInfo* lrfPackageInformation() { return &kPackageInfo; }\n")
  endif()

  set(file ${LRF_PACKAGE_INFO_DIR}/${target}.cpp)
  # Rewritten only when it changes, so a new configuration does not rebuild the module.
  file(WRITE ${file}.new "${code}")
  configure_file(${file}.new ${file} COPYONLY)
  file(REMOVE ${file}.new)
  target_sources(${target} PRIVATE ${file})
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR})
endfunction()

# The program's own modules.
lrf_package_information(lrf-tce MAIN main.cpp)
lrf_package_information(dbexpida MAIN FirebirdDriver.cpp DESCRIPTION "Driver de acesso InterBase/Firebird"
                        FLAGS 4)
