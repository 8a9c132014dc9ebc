# Unity builds: each target's sources compiled a few at a time as one translation unit, so that
# the headers they share (Qt's, GoogleTest's, the project's own) are parsed once per batch
# instead of once per file. The test run builds the program three times (plain, address and
# thread sanitizers); this is what keeps those builds short. Off by default, so that an ordinary
# build compiles each file alone (and so checks that it includes what it uses).
option(KVT_UNITY "Compile each target's sources in batches" OFF)
if(KVT_UNITY)
    set(CMAKE_UNITY_BUILD ON)
    set(CMAKE_UNITY_BUILD_BATCH_SIZE 8)
    # A test's fixture in an anonymous namespace is legal in its own file; in a batch the file
    # counts as included, for which GCC warns. The warning says nothing about the code.
    add_compile_options($<$<CXX_COMPILER_ID:GNU>:-Wno-subobject-linkage>)
endif()
