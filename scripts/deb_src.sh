# Sourced by setup.sh: source-package entries for Debian's archives, made from the
# machine's own apt sources, whichever of Debian 12's two layouts it uses.
#   tovel_deb_src <apt-etc-dir> <codename>
# prints "sources" or "list" on the first line (the kind of file to write), then the file's
# text; prints nothing when no Debian archive entry is found. Only entries for the
# release's own suites with the main component are taken: other vendors' archives may
# have no source packages, and a failing entry would fail the whole update.
tovel_deb_src() {
  local etc="$1" codename="$2" f stanzas="" lines=""
  local suite_re="^(${codename}|stable)(-[a-z]+)?\$"
  for f in "$etc"/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    case "$f" in */tovel-deb-src.*) continue ;; esac
    stanzas+=$(awk -v re="$suite_re" '
      function flush(  i, n, s, keep) {
        if (text != "" && types ~ /(^| )deb( |$)/ && enabled != "no" && comps ~ /(^| )main( |$)/) {
          n = split(suites, s, " ")
          for (i = 1; i <= n; i++) if (s[i] ~ re) keep = 1
          if (keep) printf "%s\n", text
        }
        text = ""; types = ""; suites = ""; comps = ""; enabled = ""
      }
      /^[ \t]*$/ { flush(); next }
      /^#/ { next }
      {
        line = $0
        if (tolower($1) == "types:") { types = substr($0, index($0, ":") + 1); gsub(/^[ \t]+|[ \t]+$/, "", types); line = "Types: deb-src" }
        else if (tolower($1) == "suites:") { suites = substr($0, index($0, ":") + 1) }
        else if (tolower($1) == "components:") { comps = substr($0, index($0, ":") + 1) }
        else if (tolower($1) == "enabled:") { enabled = tolower($2) }
        text = text line "\n"
      }
      END { flush() }' "$f")$'\n\n'
  done
  if [ -n "$stanzas" ]; then
    echo sources
    printf '%s\n' "$stanzas" | cat -s
    return 0
  fi
  for f in "$etc"/sources.list "$etc"/sources.list.d/*.list; do
    [ -f "$f" ] || continue
    case "$f" in */tovel-deb-src.*) continue ;; esac
    lines+=$(awk -v re="$suite_re" '
      $1 != "deb" { next }
      {
        # Options in brackets may hold spaces: take them whole.
        rest = substr($0, index($0, "deb") + 3); opts = ""
        if (match(rest, /^[ \t]*\[[^]]*\]/)) { opts = substr(rest, RSTART, RLENGTH); rest = substr(rest, RSTART + RLENGTH) }
        n = split(rest, w, " ")
        if (n < 3 || w[2] !~ re) next
        main = 0
        for (i = 3; i <= n; i++) if (w[i] == "main") main = 1
        if (main) { gsub(/^[ \t]+/, "", opts); print "deb-src " (opts != "" ? opts " " : "") w[1] " " w[2] " main" }
      }' "$f")$'\n'
  done
  lines=$(printf '%s' "$lines" | awk 'NF && !seen[$0]++')
  if [ -n "$lines" ]; then
    echo list
    printf '%s\n' "$lines"
  fi
}
