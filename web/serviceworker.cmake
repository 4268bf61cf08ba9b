# Writes the site's sw.js from its template: the list of files to cache and a hash of all of them.
# cmake -DSITE=<site dir> -DTEMPLATE=<sw.js.in> -DFILES=<name;name...> -P serviceworker.cmake
set(contents "")
set(names "\"./\"")
foreach(name IN LISTS FILES)
    file(SHA256 "${SITE}/${name}" sum)
    string(APPEND contents "${name} ${sum}\n")
    string(APPEND names ", \"${name}\"")
endforeach()
string(SHA256 ZARQUEL_SITE_HASH "${contents}")
string(SUBSTRING "${ZARQUEL_SITE_HASH}" 0 16 ZARQUEL_SITE_HASH)
set(ZARQUEL_SITE_FILES "${names}")
configure_file("${TEMPLATE}" "${SITE}/sw.js" @ONLY)
