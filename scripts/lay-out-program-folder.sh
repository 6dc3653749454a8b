#!/bin/sh
# Lays the demo content into a program folder: every demo file that is missing is copied and
# none that exists is touched, so a teacher's settings, exams and reports survive rebuilds,
# reinstalls and upgrades. test.ini is written only when it does not exist, with z naming
# the demo exam. The Debian package runs this too, so it needs nothing beyond a POSIX shell,
# sed and iconv.
#
# Usage: lay-out-program-folder.sh DEMO_DIR TARGET_DIR [PROGRAM_DIR]
#   DEMO_DIR     demo/ of the sources (or its installed copy)
#   TARGET_DIR   the folder that receives the files
#   PROGRAM_DIR  the folder in which the program sees them, written into z (default TARGET_DIR)
set -eu
demo=$1
target=$2
program=${3:-$2}

for folder in b t s; do
    mkdir -p "$target/$folder"
done

(cd "$demo" && find b t plt.txt -type f) | while IFS= read -r file; do
    if [ ! -e "$target/$file" ]; then
        mkdir -p "$(dirname "$target/$file")"
        cp "$demo/$file" "$target/$file"
    fi
done

# The program reads test.ini as Windows-1251, so a folder path with Cyrillic letters is
# converted from the UTF-8 of the file system; a path Windows-1251 cannot hold stays as it
# is. test.ini.in has CR LF line ends, which sed keeps.
if [ ! -e "$target/test.ini" ]; then
    exam=$(printf '%s\n' "$program/b/geography" | sed 's/[\\|&]/\\&/g')
    sed "s|@EXAM_FOLDER@|$exam|" "$demo/test.ini.in" > "$target/test.ini.utf8"
    if iconv -f UTF-8 -t WINDOWS-1251 "$target/test.ini.utf8" > "$target/test.ini" 2>/dev/null; then
        rm "$target/test.ini.utf8"
    else
        mv "$target/test.ini.utf8" "$target/test.ini"
    fi
fi
