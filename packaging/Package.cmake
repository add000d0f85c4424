# `make deb`: a Debian package through CPack, quillet_<version>_<arch>.deb.
# Its dependencies are the shared libraries the program links, with their
# versions (computed by dpkg-shlibdeps), and the rest of the [run] list of
# scripts/debian-packages.txt as written there, alternatives included: what
# the program needs without linking it in Depends, the lines marked
# "recommended" in Recommends.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillet)
set(CPACK_PACKAGE_VENDOR "The Quillet developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${QUILLET_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(QUILLET_HOMEPAGE_URL)
  set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${QUILLET_HOMEPAGE_URL}")
endif()
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Quillet is a desktop folder browser. Its file list loads each row's icon,
size, type, date and attributes only when the row comes into view, so very
large folders open quickly. It shows the list as large icons, small icons, a
list or a report, keeps a history of the folders opened, finds rows as you
type, and builds a gallery of JPEG thumbnails at a tile size you choose.")

file(STRINGS ${CMAKE_SOURCE_DIR}/scripts/debian-packages.txt package_lines)
set(section "")
set(depends)
set(recommends)
foreach(line IN LISTS package_lines)
  set(mark "")
  if(line MATCHES "#[ ]*([a-z]+)[ ]*$")
    set(mark ${CMAKE_MATCH_1})
  endif()
  string(REGEX REPLACE "#.*$" "" line "${line}")
  string(STRIP "${line}" line)
  if(line MATCHES "^\\[(.*)\\]$")
    set(section ${CMAKE_MATCH_1})
  elseif(NOT section STREQUAL "run" OR NOT line OR mark STREQUAL "linked")
    continue()
  elseif(mark STREQUAL "recommended")
    list(APPEND recommends "${line}")
  else()
    list(APPEND depends "${line}")
  endif()
endforeach()
list(JOIN depends ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
list(JOIN recommends ", " CPACK_DEBIAN_PACKAGE_RECOMMENDS)

include(CPack)
