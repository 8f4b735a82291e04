# Wine prefixes for tests, shared by tools/wine-run and tools/wine-gui-run
# (source it). Creating a prefix with wineboot takes seconds, so one pristine
# template is booted once per root folder and every run gets a hard-linked
# copy of it.

# The environment every run has: the Chinese locale makes the ANSI code page
# 936; no debug output, no Mono or Gecko prompts, no menu entries.
wine_environment() {
  export LC_ALL=zh_CN.UTF-8
  export WINEDEBUG="${WINEDEBUG:--all}"
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  export WINE="${WINE:-wine}"
}

# wine_template ROOT: boots ROOT/template/prefix once (under a lock, so that
# parallel runs wait for the first) and leaves its path in $template.
wine_template() {
  template="$1/template"
  (
    flock 9
    if [ ! -f "$template/.ready" ]; then
      rm -rf "$template"
      mkdir -p "$template/home"
      WINEPREFIX="$template/prefix" HOME="$template/home" DISPLAY='' "$WINE" wineboot -i >/dev/null 2>&1
      WINEPREFIX="$template/prefix" wineserver -w
      touch "$template/.ready"
    fi
  ) 9>"$1/.template.lock"
}

# wine_copy_prefix FROM TO: hard links, but real copies of the registry
# files, the only ones Wine rewrites in place, so no run changes FROM.
wine_copy_prefix() {
  cp -al "$1" "$2"
  for f in "$2"/*.reg; do cp --remove-destination "$1/$(basename "$f")" "$f"; done
}

# wine_own_home RUN: gives the prefix RUN/prefix the HOME RUN/home. Wine links
# the user's Desktop, Documents and the like to the HOME it booted with
# (Desktop to $HOME/Desktop when that exists); in a copy those links still
# point at the template's HOME, which every run would share. They are
# pointed at this run's, relatively, so that a kept run can be moved.
wine_own_home() {
  local run="$1" link
  mkdir -p "$run/home/Desktop"
  for link in "$run"/prefix/drive_c/users/*/*; do
    [ -L "$link" ] || continue
    case "$(readlink "$link")" in
      "$run"/* | ../*) ;;
      *) if [ "$(basename "$link")" = Desktop ]; then ln -sfn ../../../../home/Desktop "$link"
         else ln -sfn ../../../../home "$link"; fi ;;
    esac
  done
}
