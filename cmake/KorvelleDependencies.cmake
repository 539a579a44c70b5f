# Locates the Debian packages that the setup script installs.
find_package(Qt6 6.4 REQUIRED COMPONENTS Core Gui Widgets PrintSupport Test)
find_package(PkgConfig REQUIRED)
pkg_check_modules(TURBOJPEG REQUIRED IMPORTED_TARGET libturbojpeg)
pkg_check_modules(LIBTIFF REQUIRED IMPORTED_TARGET libtiff-4)
pkg_check_modules(IMAGEQUANT REQUIRED IMPORTED_TARGET imagequant)
find_package(GIF REQUIRED)

# Debian ships OpenCV's core and imgproc without a CMake package file unless the whole
# libopencv-dev is installed, so the two libraries are found by hand.
find_path(OPENCV_INCLUDE_DIR opencv2/core.hpp PATH_SUFFIXES opencv4 REQUIRED)
find_library(OPENCV_CORE_LIBRARY opencv_core REQUIRED)
find_library(OPENCV_IMGPROC_LIBRARY opencv_imgproc REQUIRED)
add_library(korvelle_opencv INTERFACE)
target_include_directories(korvelle_opencv SYSTEM INTERFACE ${OPENCV_INCLUDE_DIR})
target_link_libraries(korvelle_opencv INTERFACE ${OPENCV_IMGPROC_LIBRARY} ${OPENCV_CORE_LIBRARY})
