# Third-party libraries, all from Debian's packages.

# nlohmann-json is header-only. The MinGW build sees it through a folder that
# holds only that library, never through Linux's /usr/include.
set(TQ_HEADER_ONLY_DIR ${CMAKE_BINARY_DIR}/header-only)
function(tq_stage_header_only src_dir name)
    if(NOT EXISTS ${src_dir})
        message(FATAL_ERROR "${src_dir} is missing: run scripts/install-deps")
    endif()
    file(COPY ${src_dir} DESTINATION ${TQ_HEADER_ONLY_DIR})
endfunction()

add_library(tq_json INTERFACE)
if(WIN32)
    tq_stage_header_only(/usr/include/nlohmann nlohmann)
    target_include_directories(tq_json SYSTEM INTERFACE ${TQ_HEADER_ONLY_DIR})
else()
    find_package(nlohmann_json 3.10 REQUIRED)
    target_link_libraries(tq_json INTERFACE nlohmann_json::nlohmann_json)
endif()

# Platform libraries of the core.
add_library(tq_platform_libs INTERFACE)
if(WIN32)
    target_link_libraries(tq_platform_libs INTERFACE
        winhttp crypt32 bcrypt setupapi cfgmgr32 iphlpapi dxgi ole32 oleaut32
        uuid shell32 shlwapi advapi32 user32 gdi32 version)
else()
    find_package(PkgConfig REQUIRED)
    find_package(Threads REQUIRED)
    pkg_check_modules(TQ_LINUX_LIBS REQUIRED IMPORTED_TARGET
        libcurl libsodium libudev blkid libkmod)
    target_link_libraries(tq_platform_libs INTERFACE
        PkgConfig::TQ_LINUX_LIBS Threads::Threads)
endif()

# The loopback HTTP(S) server of the network tests and the HTTP benchmark:
# Debian's cpp-httplib. Debian ships it as a compiled Linux library (the
# header holds declarations only), so it cannot be staged for MinGW: the
# Windows tests use the project's own loopback server (tests/net/support).
# OpenSSL makes the HTTPS case's test certificate.
add_library(tq_test_http INTERFACE)
if(WIN32)
    target_link_libraries(tq_test_http INTERFACE ws2_32)
else()
    pkg_check_modules(TQ_HTTPLIB REQUIRED IMPORTED_TARGET cpp-httplib openssl)
    target_link_libraries(tq_test_http INTERFACE PkgConfig::TQ_HTTPLIB)
endif()
