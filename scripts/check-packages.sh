#!/usr/bin/env bash
# Checks that a fresh machine which installs scripts/packages.txt can build: every header,
# library, pkg-config file and CMake package file the configured and built tree used must come
# from a Debian package that the list names, or that something it names depends on. A package
# that is merely installed here does not count.
#   check-packages.sh BUILD_DIR [PACKAGES_TXT]
set -euo pipefail
build=$(cd "${1:?usage: check-packages.sh BUILD_DIR [PACKAGES_TXT]}" && pwd)
list=${2:-$(dirname "$0")/packages.txt}
source=$(cd "$(dirname "$0")/.." && pwd)
cache="$build/CMakeCache.txt"
[[ -f "$cache" && -f "$build/build.ninja" ]] || { echo "check-packages: $build is no configured Ninja build" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Only files of the system: the sources and the build tree are ours.
outside_tree() { grep -v -e "^$source/" -e "^$build/" -e '^\.\./' -e '^[^/]' || true; }

{
  # Headers, from the compiler's dependency records of everything built.
  ninja -C "$build" -t deps | awk '/^    \//{ print $1 }'
  # Libraries on the link lines, as paths or as -lname.
  ninja -C "$build" -t commands | grep -E ' -o [^ ]+ ' | tr ' ' '\n' |
    grep -E '^(/[^ ]+\.(so|a)(\.[0-9]+)*|-l[A-Za-z0-9_+.-]+)$' | sort -u |
    while read -r library; do
      if [[ "$library" == -l* ]]; then
        found=$(${CXX:-c++} -print-file-name="lib${library#-l}.so")
        [[ "$found" == /* ]] || found=$(${CXX:-c++} -print-file-name="lib${library#-l}.a")
        [[ "$found" == /* ]] && realpath -s "$found"
      else
        echo "$library"
      fi
    done
  # pkg-config modules that pkg_check_modules asked for, with the modules they require.
  sed -n 's/^__pkg_config_arguments_[^:]*:INTERNAL=//p' "$cache" | tr ';' '\n' |
    grep -v -e '^REQUIRED$' -e '^QUIET$' -e '^IMPORTED_TARGET$' -e '^GLOBAL$' -e '^NO_CMAKE' -e '^$' |
    while read -r module; do
      pkg-config --exists "$module" 2>/dev/null || continue
      for name in "$module" $(pkg-config --print-requires --print-requires-private "$module" | awk '{ print $1 }'); do
        pkg-config --path "$name" 2>/dev/null || true
      done
    done
  # CMake package configuration files that find_package found.
  sed -n 's/^[A-Za-z0-9_]*_DIR:PATH=//p' "$cache" | grep '^/' | while read -r directory; do
    find "$directory" -maxdepth 1 -type f \( -name '*Config.cmake' -o -name '*-config.cmake' \) 2>/dev/null
  done
} | outside_tree | sort -u > "$work/files"

# The package of every file. dpkg knows a file under the path its package installed it as; on a
# merged /usr the build may have seen it under the other name.
xargs -r dpkg-query -S < "$work/files" 2> "$work/unowned" | grep -v '^diversion ' > "$work/owners" || true
sed -n 's/^dpkg-query: no path found matching pattern //p' "$work/unowned" | while read -r file; do
  for alias in "$(realpath "$file")" "${file#/usr}" "/usr$file"; do
    if owner=$(dpkg-query -S "$alias" 2>/dev/null); then
      echo "${owner%%: *}: $file"
      continue 2
    fi
  done
  echo "?: $file"
done >> "$work/owners"

# What installing the list brings: the listed packages and, recursively, what they depend on
# (Depends and Pre-Depends, every installed alternative, virtual packages through their
# providers). Recommends do not count: install-deps.sh installs without them.
sed -e 's/#.*//' -e 's/[[:space:]]//g' "$list" | grep -v '^$' > "$work/listed"
dpkg-query -W -f='${Package}\t${Provides}\t${Pre-Depends}, ${Depends}\n' > "$work/installed"
awk -F'\t' -v listed="$work/listed" '
  function name(text) { sub(/^[ ]+/, "", text); sub(/[ (:].*$/, "", text); return text }
  {
    installed[$1] = 1
    n = split($2, provided, ",")
    for (i = 1; i <= n; ++i) if (name(provided[i]) != "") providers[name(provided[i])] = providers[name(provided[i])] " " $1
    depends[$1] = $3
  }
  END {
    while ((getline package < listed) > 0) queue[++tail] = package
    for (head = 1; head <= tail; ++head) {
      package = queue[head]
      if (package in allowed) continue
      allowed[package] = 1
      print package
      n = split(depends[package], clauses, ",")
      for (i = 1; i <= n; ++i) {
        m = split(clauses[i], alternatives, "|")
        for (j = 1; j <= m; ++j) {
          wanted = name(alternatives[j])
          if (wanted == "") continue
          if (wanted in installed) queue[++tail] = wanted
          k = split(providers[wanted], real, " ")
          for (p = 1; p <= k; ++p) queue[++tail] = real[p]
        }
      }
    }
  }' "$work/installed" | sort -u > "$work/allowed"

# A file is fine when any package that ships it is allowed.
count=$(wc -l < "$work/files")
awk -v list="$list" -v count="$count" '
  FNR == NR { allowed[$1] = 1; next }
  {
    split_at = index($0, ": ")
    packages = substr($0, 1, split_at - 1)
    file = substr($0, split_at + 2)
    gsub(/:[a-z0-9]+/, "", packages)
    n = split(packages, names, ", ")
    ok = 0
    for (i = 1; i <= n; ++i) if (names[i] in allowed) ok = 1
    if (ok) next
    ++failures
    if (packages == "?") {
      print "check-packages: " file " belongs to no Debian package" > "/dev/stderr"
    } else {
      print "check-packages: " file " comes from " packages ", which " list " does not list (nor anything it lists depends on it)" > "/dev/stderr"
    }
  }
  END {
    if (failures > 0) {
      print "check-packages: " failures " of " count " files the build uses would be missing on a fresh machine" > "/dev/stderr"
      exit 1
    }
    print "check-packages: all " count " files the build uses come from packages " list " brings"
  }' "$work/allowed" "$work/owners"
