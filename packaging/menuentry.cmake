# SPDX-License-Identifier: GPL-3.0-or-later
# Writes a program's menu entry at install time, once the prefix is known. The launcher's full
# path goes into Exec= as one quoted argument, escaped as desktop entries require, so that a
# prefix holding blanks, quotes, "$", "%" or backslashes still starts it.
#   ZERWA_START  the launcher's installed path
#   ENTRY_IN     the entry's template (Exec=@ZERWA_START_EXEC@ <program>)
#   ENTRY        the entry to write
set(path "${ZERWA_START}")
# Inside a quoted argument: \ " ` $ each after a backslash; % doubled (a field code otherwise).
string(REPLACE "\\" "\\\\" path "${path}")
string(REPLACE "\"" "\\\"" path "${path}")
string(REPLACE "`" "\\`" path "${path}")
string(REPLACE "$" "\\$" path "${path}")
string(REPLACE "%" "%%" path "${path}")
# The value is a string, whose own escapes take every backslash once more.
string(REPLACE "\\" "\\\\" path "${path}")
set(ZERWA_START_EXEC "\"${path}\"")
configure_file("${ENTRY_IN}" "${ENTRY}" @ONLY)
