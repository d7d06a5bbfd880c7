# vd_add_test(NAME SOURCES a.cpp b.cpp LIBS lib... [LABELS l...] [XVFB] [SESSION_BUS])
# A GoogleTest program run by CTest, headless; XVFB runs it under a virtual X server, SESSION_BUS
# with a private D-Bus session bus of its own (never the desktop's).
function(vd_add_test name)
    cmake_parse_arguments(T "XVFB;SESSION_BUS" "" "SOURCES;LIBS;LABELS" ${ARGN})
    set(bus_prefix)
    if(T_SESSION_BUS)
        set(bus_prefix dbus-run-session --)
    endif()
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
    # The helpers of tests/support are included by their path from the top of the tree;
    # SourceFiles.h finds the source tree here when CTest does not say.
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
    target_compile_definitions(${name} PRIVATE VD_SOURCE_DIR_DEFAULT="${PROJECT_SOURCE_DIR}")
    if(T_XVFB)
        add_test(NAME ${name} COMMAND ${bus_prefix} xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp"
                 $<TARGET_FILE:${name}>)
        set_tests_properties(${name} PROPERTIES LABELS "e2e;${T_LABELS}" RUN_SERIAL TRUE
                             ENVIRONMENT "QT_QPA_PLATFORM=xcb;VD_BUILD_DIR=${CMAKE_BINARY_DIR};VD_SOURCE_DIR=${CMAKE_SOURCE_DIR}")
        # The players a test starts must not meet the desktop's session bus (its MPRIS clients,
        # a player the user runs): the test has no bus unless it asked for a private one.
        if(NOT T_SESSION_BUS)
            set_property(TEST ${name} APPEND PROPERTY ENVIRONMENT
                         "DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent/vodezaru-test-bus")
        endif()
    else()
        add_test(NAME ${name} COMMAND ${bus_prefix} $<TARGET_FILE:${name}>)
        set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}"
                             ENVIRONMENT "QT_QPA_PLATFORM=offscreen;VD_SOURCE_DIR=${CMAKE_SOURCE_DIR}")
    endif()
    # fontconfig keeps its caches for the life of the process; the leak checker takes them for lost.
    if(VD_SANITIZE MATCHES "address")
        set_property(TEST ${name} APPEND PROPERTY ENVIRONMENT
                     "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp")
    endif()
    # FluidSynth loads soundfont samples in OpenMP tasks; libgomp is not built for the thread
    # sanitizer, so its own (correct) synchronisation reads as races. One OpenMP thread keeps the
    # loading in the calling thread, where the sanitizer sees everything.
    # Qt, as the distribution builds it, hands objects between its own threads (the event queue,
    # the thread pool behind image conversion and the file dialog) by futex-based locks the
    # sanitizer cannot see; what it frees or allocates there would read as races. Only the
    # accesses of instrumented code (ours) are checked.
    if(VD_SANITIZE MATCHES "thread")
        set_property(TEST ${name} APPEND PROPERTY ENVIRONMENT "OMP_NUM_THREADS=1"
                     "TSAN_OPTIONS=ignore_noninstrumented_modules=1")
    endif()
endfunction()

# vd_check_thread_safety(TARGET...): with VD_ANALYZE (`make analyze`, a clang build) the targets
# compile with -Wthread-safety, so that a guarded member used without its lock, or a function that
# needs a lock called without it, fails the build; the `analyze` target builds them.
function(vd_check_thread_safety)
    if(NOT VD_ANALYZE)
        return()
    endif()
    foreach(target IN LISTS ARGN)
        target_compile_options(${target} PRIVATE -Wthread-safety)
        add_dependencies(analyze ${target})
    endforeach()
endfunction()

# vd_add_bench(NAME SOURCES ... LIBS ...): a Google Benchmark program under bench/.
function(vd_add_bench name)
    cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${B_SOURCES})
    target_link_libraries(${name} PRIVATE ${B_LIBS} benchmark::benchmark benchmark::benchmark_main)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
    target_compile_definitions(${name} PRIVATE VD_SOURCE_DIR_DEFAULT="${PROJECT_SOURCE_DIR}")
endfunction()

# vd_add_fuzzer(NAME SOURCES ... LIBS ...): a libFuzzer target, built only with VD_FUZZ.
function(vd_add_fuzzer name)
    cmake_parse_arguments(F "" "" "SOURCES;LIBS" ${ARGN})
    if(NOT VD_FUZZ)
        return()
    endif()
    add_executable(${name} ${F_SOURCES})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_libraries(${name} PRIVATE ${F_LIBS})
    add_dependencies(fuzzers ${name})
endfunction()

# vd_add_groups([EXCEPT folder...]): adds each folder below the current one that has a
# CMakeLists.txt, in name order; each is one group of programs (one layer or feature).
function(vd_add_groups)
    cmake_parse_arguments(G "" "" "EXCEPT" ${ARGN})
    file(GLOB groups LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*)
    list(SORT groups)
    foreach(group IN LISTS groups)
        if(NOT group IN_LIST G_EXCEPT AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${group}/CMakeLists.txt)
            add_subdirectory(${group})
        endif()
    endforeach()
endfunction()
