# The token-lifetime tests meet the refresh endpoint on the network tests'
# loopback server.
file(GLOB tq_state_server_sources CONFIGURE_DEPENDS
     ${CMAKE_CURRENT_SOURCE_DIR}/net/support/loopback_server.cpp
     ${CMAKE_CURRENT_SOURCE_DIR}/net/support/loopback_socket${TQ_PLATFORM_SUFFIX}.cpp)
target_sources(${exe} PRIVATE ${tq_state_server_sources})
target_link_libraries(${exe} PRIVATE tq_test_http)
