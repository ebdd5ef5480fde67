# Sourced by the scripts that need these; not run on its own.

# The newest clang++-N on PATH, else plain clang++: prints its version suffix
# ("-N" or ""), which the matching LLVM tools share.
clang_suffix() {
  local newest
  newest=$(compgen -c clang++- | grep -E '^clang\+\+-[0-9]+$' | sort -t- -k2,2n -u | tail -n 1 || true)
  if [ -n "$newest" ]; then
    echo "${newest#clang++}"
  elif command -v clang++ >/dev/null; then
    echo ""
  else
    echo "no clang++ on PATH: run scripts/install-deps.sh test" >&2
    return 1
  fi
}

# Sets scratch to a fresh temporary folder, removed when the script ends; in
# memory where the system has a memory file system, since creating many folders
# on disk would take most of a fuzz run's time.
make_scratch_folder() {
  if [ -d /dev/shm ] && [ -w /dev/shm ]; then
    scratch=$(mktemp -d -p /dev/shm)
  else
    scratch=$(mktemp -d)
  fi
  trap 'rm -rf "$scratch"' EXIT
}

# Prints the version in the top CMakeLists.txt of the repository at $1.
project_version() {
  local version
  version=$(sed -n 's/^project(Projbridge VERSION \([0-9.]*\).*/\1/p' "$1/CMakeLists.txt")
  [ -n "$version" ] || { echo "no version in $1/CMakeLists.txt" >&2; return 1; }
  echo "$version"
}
