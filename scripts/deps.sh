#!/usr/bin/env bash
# Installs the Debian packages the build, the tests, the benchmarks and the fuzz
# harnesses need, only those that are missing. Needs root when something is missing.
# When another apt or dpkg run holds their locks, waits for it (up to ten minutes).
set -euo pipefail
# cpp-httplib for the web reader; chromium, its driver and Selenium for the web
# reader's browser test; wrk for its load script (bench/serve_load.sh).
packages=(cmake make g++ clang libclang-rt-14-dev libgtest-dev libgmock-dev libbenchmark-dev
          libcli11-dev pkg-config zlib1g-dev liblzma-dev libexpat1-dev libcpp-httplib-dev
          pybind11-dev python3-dev python3-pytest
          chromium chromium-driver python3-selenium wrk)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

# apt-get waiting for the dpkg locks; `apt-get update` does not wait for the lock of
# the package lists, so a run that fails on a lock is tried again.
apt_get() {
  local errors said=
  for _ in $(seq 120); do
    if errors=$(LC_ALL=C apt-get -o DPkg::Lock::Timeout=600 "$@" 2>&1 >/dev/null); then
      [ -z "$errors" ] || echo "$errors" >&2
      return 0
    fi
    [[ $errors == *"Could not get lock"* ]] || { echo "$errors" >&2; return 1; }
    [ -n "$said" ] || echo "waiting for another apt or dpkg run to finish" >&2
    said=yes
    sleep 5
  done
  echo "$errors" >&2
  return 1
}

if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt_get update -qq
  apt_get install -y -qq --no-install-recommends "${missing[@]}"
fi
