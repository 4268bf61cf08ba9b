# doctest is header-only: a cross build gets that one header, never the host's /usr/include and its glibc.
find_file(ZARQUEL_DOCTEST_HEADER doctest/doctest.h PATHS /usr/include NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
set(ZARQUEL_DOCTEST_INCLUDE ${PROJECT_BINARY_DIR}/doctest-include)
file(MAKE_DIRECTORY ${ZARQUEL_DOCTEST_INCLUDE}/doctest)
file(CREATE_LINK ${ZARQUEL_DOCTEST_HEADER} ${ZARQUEL_DOCTEST_INCLUDE}/doctest/doctest.h SYMBOLIC)
