# Installs the build into a scratch DESTDIR and checks that every file lands where the desktop
# looks for it under the configured prefix.
string(RANDOM LENGTH 8 suffix)
set(destdir "${BUILD_DIR}/install-check-${suffix}")
set(root "${destdir}${PREFIX}")

execute_process(
  COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${destdir} ${CMAKE_COMMAND} --install ${BUILD_DIR}
  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT status EQUAL 0)
  file(REMOVE_RECURSE "${destdir}")
  message(FATAL_ERROR "cmake --install failed:\n${output}")
endif()

set(expected
  ${DATADIR}/applications/com.orvane.Kestrix.desktop
  ${DATADIR}/dbus-1/services/com.orvane.Kestrix.service
  ${DATADIR}/icons/hicolor/scalable/apps/com.orvane.Kestrix.svg
  ${DATADIR}/icons/hicolor/scalable/apps/com.orvane.Kestrix-symbolic.svg
  ${DATADIR}/metainfo/com.orvane.Kestrix.metainfo.xml)
foreach(executable IN LISTS EXPECTED_EXECUTABLES)
  list(APPEND expected ${BINDIR}/${executable})
endforeach()
# The app proper, which `kestrix` becomes when it is not handing a request on.
foreach(helper IN LISTS EXPECTED_HELPERS)
  list(APPEND expected ${LIBEXECDIR}/${helper})
endforeach()

set(missing)
foreach(file IN LISTS expected)
  if(NOT EXISTS "${root}/${file}")
    list(APPEND missing ${file})
  endif()
endforeach()
if(missing)
  file(REMOVE_RECURSE "${destdir}")
  message(FATAL_ERROR "Not installed under ${PREFIX}: ${missing}")
endif()

# D-Bus starts the app from the absolute path in the service file.
file(READ "${root}/${DATADIR}/dbus-1/services/com.orvane.Kestrix.service" service)
file(REMOVE_RECURSE "${destdir}")
if(NOT service MATCHES "\nExec=${FULL_BINDIR}/kestrix --background\n")
  message(FATAL_ERROR "The service file does not start ${FULL_BINDIR}/kestrix:\n${service}")
endif()
message(STATUS "Installed: ${expected}")
