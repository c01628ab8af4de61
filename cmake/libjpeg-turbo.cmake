# libjpeg-turbo, static, from Debian's source package: fetched, unpacked and
# built once per build tree with this tree's own toolchain.
# Elsewhere (an MSYS2 shell on Windows, say) an installed copy is used.
#
# Without SIMD: the program decodes one picture, once, and the SIMD dispatch
# would link the encoder's SIMD routines too (some 150 KB).

find_program(APT_GET apt-get)
find_program(DPKG_SOURCE dpkg-source)

if(APT_GET AND DPKG_SOURCE)
  set(jpeg_root ${CMAKE_BINARY_DIR}/_deps/libjpeg-turbo)
  set(jpeg_prefix ${jpeg_root}/install)
  set(jpeg_config ${jpeg_prefix}/lib/cmake/libjpeg-turbo)

  function(jpeg_step)
    execute_process(COMMAND ${ARGN} WORKING_DIRECTORY ${jpeg_root}
                    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
    if(NOT rc EQUAL 0)
      message(FATAL_ERROR "libjpeg-turbo: '${ARGN}' failed:\n${out}")
    endif()
  endfunction()

  if(NOT EXISTS ${jpeg_config}/libjpeg-turboConfig.cmake)
    message(STATUS "Building libjpeg-turbo from Debian's source package")
    file(REMOVE_RECURSE ${jpeg_root})
    file(MAKE_DIRECTORY ${jpeg_root})
    jpeg_step(${APT_GET} source --download-only libjpeg-turbo)
    file(GLOB dsc ${jpeg_root}/libjpeg-turbo_*.dsc)
    jpeg_step(${DPKG_SOURCE} --no-check -x ${dsc} src)
    jpeg_step(${CMAKE_COMMAND} -S src -B build -G Ninja
              -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
              -DCMAKE_BUILD_TYPE=MinSizeRel
              # NO_GETENV: no JPEGMEM variable, and no sscanf linked for it
              "-DCMAKE_C_FLAGS=-ffunction-sections -fdata-sections -DNO_GETENV -DNO_PUTENV"
              -DCMAKE_INSTALL_PREFIX=${jpeg_prefix}
              -DENABLE_SHARED=OFF -DWITH_TURBOJPEG=OFF -DWITH_SIMD=OFF)
    jpeg_step(${CMAKE_COMMAND} --build build --target install)
  endif()
  set(libjpeg-turbo_DIR ${jpeg_config})
endif()

find_package(libjpeg-turbo REQUIRED CONFIG)
