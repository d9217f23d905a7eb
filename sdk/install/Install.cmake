# Installs CalvoxSDK the way well-kept C libraries do: the shared library with its SONAME links, the public
# header, a CMake package (find_package(CalvoxSDK) gives the target CalvoxSDK::CalvoxSDK) and a pkg-config file
# (pkg-config --cflags --libs calvoxsdk). Everything is relocatable: the package files find the prefix from
# their own location, so `cmake --install build --prefix <dir>` works for any <dir>.
include(CMakePackageConfigHelpers)

set(CALVOX_SDK_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/CalvoxSDK)
set(CALVOX_SDK_PKGCONFIG_DIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

install(TARGETS CalvoxSDK EXPORT CalvoxSDKTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT CalvoxSDK NAMELINK_COMPONENT CalvoxSDK
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/include/CalvoxSDK.h
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT CalvoxSDK)

install(EXPORT CalvoxSDKTargets NAMESPACE CalvoxSDK:: DESTINATION ${CALVOX_SDK_CMAKE_DIR} COMPONENT CalvoxSDK)
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/CalvoxSDKConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/CalvoxSDKConfig.cmake INSTALL_DESTINATION ${CALVOX_SDK_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/CalvoxSDKConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/CalvoxSDKConfig.cmake ${CMAKE_CURRENT_BINARY_DIR}/CalvoxSDKConfigVersion.cmake
  DESTINATION ${CALVOX_SDK_CMAKE_DIR} COMPONENT CalvoxSDK)

# pkg-config: the prefix is found relative to the .pc file itself.
file(RELATIVE_PATH CALVOX_SDK_PC_TO_PREFIX /prefix/${CALVOX_SDK_PKGCONFIG_DIR} /prefix)
string(REGEX REPLACE "/$" "" CALVOX_SDK_PC_TO_PREFIX "${CALVOX_SDK_PC_TO_PREFIX}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/calvoxsdk.pc.in ${CMAKE_CURRENT_BINARY_DIR}/calvoxsdk.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/calvoxsdk.pc DESTINATION ${CALVOX_SDK_PKGCONFIG_DIR} COMPONENT CalvoxSDK)
