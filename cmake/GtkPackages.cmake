# The gtk back end needs the GTK 3 and WebKitGTK development packages. Say which Debian packages
# are missing up front instead of failing deep inside the back end's own configure step.
find_package(PkgConfig)
if(PkgConfig_FOUND)
  pkg_check_modules(PELMORA_GTK_PROBE QUIET gtk+-3.0 webkit2gtk-4.1)
endif()
if(NOT PkgConfig_FOUND OR NOT PELMORA_GTK_PROBE_FOUND)
  message(FATAL_ERROR
    "The gtk back end needs GTK 3 and WebKitGTK (webkit2gtk-4.1) with pkg-config. On Debian 12:\n"
    "  apt-get install pkg-config libgtk-3-dev libwebkit2gtk-4.1-dev\n"
    "or configure the preset 'sim' (run time, simulated platform and tests, no GTK).")
endif()
