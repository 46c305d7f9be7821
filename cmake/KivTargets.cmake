# Every source folder is one static library made of all the .cpp files in it, and
# every test folder one GoogleTest executable (with the helpers of tests/support), so
# adding a file needs no list edits.
# A folder that holds no sources yet makes no target of its own.

# kiv_folder_library(name [deps...] [PRIVATE deps...]): the dependencies before PRIVATE
# are part of the library's interface (its headers include theirs); those after it are
# used only inside its sources and reach users of the library as link items alone.
function(kiv_folder_library name)
  cmake_parse_arguments(PARSE_ARGV 1 KIV "" "" "PRIVATE")
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${KIV_UNPARSED_ARGUMENTS} PRIVATE ${KIV_PRIVATE})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE ${KIV_UNPARSED_ARGUMENTS} ${KIV_PRIVATE})
  endif()
endfunction()

function(kiv_folder_tests name)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARGN} kiv_test_support GTest::gtest GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  # A hung test fails after two minutes instead of stalling the whole run.
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT 120 ENVIRONMENT "KIV_BUILD_DIR=${PROJECT_BINARY_DIR}")
endfunction()
