#!/usr/bin/env bash
# Checks that each folder of src/ includes only folders on the floors below it:
#   core (ground), serial, lang, protocol, editor, operations, settings and preview, session and
#   startup, window and cli (side by side: neither includes the other),
# that only window/ includes Qt headers beyond QtCore, that the main window's header is
# included by the main window's own files, start-up and main() alone (the dialogs and panels
# stand on the session's rooms, never on the main window), that no room of the session includes
# its root (Session.h) and no part of a controller a room of the workplace, and that kvtctl (cli/) includes nothing of protocol/. Prints every include that breaks a rule, then
# their count; fails when there is any. `--count` prints the count alone and always succeeds.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here/src"

floor() {
    case "$1" in
    core) echo 0 ;;
    serial) echo 1 ;;
    lang) echo 2 ;;
    protocol) echo 3 ;;
    editor) echo 4 ;;
    operations | settings | preview | journal) echo 5 ;;
    session | startup) echo 6 ;;
    window | cli) echo 7 ;;
    *) echo -1 ;;
    esac
}

bad=0
report=""
while IFS= read -r hit; do
    file=${hit%%:*}
    file=${file#./}
    rest=${hit#*:}
    rest=${rest#*:}
    target=$(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' <<<"$rest")
    [ -n "$target" ] || continue
    from=${file%%/*}
    # A bare name ("Unit1.h") is a file of the same folder.
    case "$target" in */*) to=${target%%/*} ;; *) continue ;; esac
    [ "$from" = "$to" ] && continue
    ff=$(floor "$from")
    tf=$(floor "$to")
    [ "$tf" -lt 0 ] && continue # not a folder of src/ (a Qt or system header)
    if [ "$ff" -lt 0 ] || [ "$tf" -ge "$ff" ]; then
        bad=$((bad + 1))
        report+="  $file includes $target"$'\n'
    fi
done < <(grep -rn --include='*.h' --include='*.cpp' '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' .)

# Qt headers outside window/ must be QtCore's.
qtcore=$(find /usr/include -type d -path '*qt6/QtCore' 2>/dev/null | head -n 1)
if [ -n "$qtcore" ]; then
    while IFS= read -r hit; do
        file=${hit%%:*}
        file=${file#./}
        case "$file" in window/*) continue ;; esac
        header=$(sed -n 's/.*#[[:space:]]*include[[:space:]]*<\(Q[^>]*\)>.*/\1/p' <<<"${hit#*:*:}")
        header=${header#QtCore/}
        [ -n "$header" ] || continue
        if [ ! -e "$qtcore/$header" ]; then
            bad=$((bad + 1))
            report+="  $file includes <$header>, which is not QtCore's"$'\n'
        fi
    done < <(grep -rn --include='*.h' --include='*.cpp' '^[[:space:]]*#[[:space:]]*include[[:space:]]*<Q' .)
fi

# Only the main window's own files, start-up and main() know the main window.
while IFS= read -r hit; do
    file=${hit%%:*}
    file=${file#./}
    case "$file" in window/Unit1.h | window/Unit1*.cpp | window/Startup.* | window/main.cpp) continue ;; esac
    bad=$((bad + 1))
    report+="  $file includes the main window (Unit1.h)"$'\n'
done < <(grep -rln --include='*.h' --include='*.cpp' '^[[:space:]]*#[[:space:]]*include[[:space:]]*"\(window/\)\?Unit1\.h"' . | sed 's/$/:/')

# The session's rooms never know its root: only the root's own files include Session.h.
while IFS= read -r hit; do
    file=${hit%%:*}
    file=${file#./}
    case "$file" in session/Session.h | session/Session.cpp) continue ;; esac
    case "$file" in session/*) ;; *) continue ;; esac
    bad=$((bad + 1))
    report+="  $file, a room of the session, includes the session's root (Session.h)"$'\n'
done < <(grep -rln --include='*.h' --include='*.cpp' '^[[:space:]]*#[[:space:]]*include[[:space:]]*"\(session/\)\?Session\.h"' . | sed 's/$/:/')

# A controller is a unit of its own: its parts (session/controller/) include nothing of the
# operator's workplace (the rooms in session/ itself).
while IFS= read -r hit; do
    file=${hit%%:*}
    file=${file#./}
    target=$(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' <<<"${hit#*:*:}")
    case "$target" in
    session/controller/*) continue ;;
    session/*) name=${target#session/} ;;
    ../*) name=${target#../} ;;
    */*) continue ;;
    *) [ -e "session/controller/$target" ] && continue; name=$target ;;
    esac
    if [ -e "session/$name" ]; then
        bad=$((bad + 1))
        report+="  $file, a part of the controller, includes the workplace's $target"$'\n'
    fi
done < <(grep -rn --include='*.h' --include='*.cpp' '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' session/controller || true)

# kvtctl speaks to the controller through the session's rooms alone.
while IFS= read -r hit; do
    file=${hit%%:*}
    file=${file#./}
    bad=$((bad + 1))
    report+="  $file includes ${hit#*:*:}"$'\n'
done < <(grep -rn --include='*.h' --include='*.cpp' '^[[:space:]]*#[[:space:]]*include[[:space:]]*"protocol/' cli || true)

if [ "${1:-}" = "--count" ]; then
    echo "$bad"
    exit 0
fi
if [ "$bad" -gt 0 ]; then
    echo "Includes that break the folder floors of src/ ($bad):" >&2
    printf '%s' "$report" >&2
    exit 1
fi
echo "Folder floors: every include goes down."
