# Install rules and the CMake package: after `cmake --install`, another project
# uses the library with
#   find_package(NvoQuorvel REQUIRED)
#   target_link_libraries(app PRIVATE NvoQuorvel::rt)
# The package is relocatable: it finds its files relative to its own location,
# so an installed tree may be moved or staged with DESTDIR.
include(CMakePackageConfigHelpers)

set(NVO_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/NvoQuorvel)


install(TARGETS nvoquorvel_rt EXPORT NvoQuorvelTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(EXPORT NvoQuorvelTargets
  NAMESPACE NvoQuorvel::
  DESTINATION ${NVO_PACKAGE_DIR})

# A consumer needs at least the Qt minor release the library was built against:
# Qt keeps binary compatibility forwards only.
set(NVO_QT_MIN_VERSION ${Qt6_VERSION_MAJOR}.${Qt6_VERSION_MINOR})
configure_package_config_file(
  ${CMAKE_CURRENT_LIST_DIR}/NvoQuorvelConfig.cmake.in
  ${PROJECT_BINARY_DIR}/NvoQuorvelConfig.cmake
  INSTALL_DESTINATION ${NVO_PACKAGE_DIR})
# Before 1.0 a minor release may change the interface, so only the same minor
# release counts as compatible.
write_basic_package_version_file(
  ${PROJECT_BINARY_DIR}/NvoQuorvelConfigVersion.cmake
  VERSION ${PROJECT_VERSION}
  COMPATIBILITY SameMinorVersion)
install(FILES
  ${PROJECT_BINARY_DIR}/NvoQuorvelConfig.cmake
  ${PROJECT_BINARY_DIR}/NvoQuorvelConfigVersion.cmake
  DESTINATION ${NVO_PACKAGE_DIR})

configure_file(${CMAKE_CURRENT_LIST_DIR}/nvoquorvel.pc.in ${PROJECT_BINARY_DIR}/nvoquorvel.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/nvoquorvel.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
