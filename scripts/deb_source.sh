# Sourced: deb_source_tarball PACKAGE DIR downloads Debian's source of
# PACKAGE into DIR (once; deb-src lines are added for the system's own
# suites if there are none, leaving out the security archive, which keeps no
# sources) and prints the path of its original tarball.
deb_source_tarball() {
  local package=$1 dir=$2 found
  found=$(ls "$dir/${package}"_*.orig.tar.* 2>/dev/null | grep -v '\.asc$' | head -n 1 || true)
  if [ -z "$found" ]; then
    if ! grep -rqs '^Types:.*deb-src\|^deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/; then
      awk -v RS= -v ORS='\n\n' '!/security/ { sub(/Types: deb/, "Types: deb-src"); print }' \
        /etc/apt/sources.list.d/debian.sources >/etc/apt/sources.list.d/debian-src.sources
      apt-get update -qq
    fi
    (cd "$dir" && apt-get source --download-only -qq "$package" >/dev/null)
    found=$(ls "$dir/${package}"_*.orig.tar.* | grep -v '\.asc$' | head -n 1)
  fi
  echo "$found"
}
