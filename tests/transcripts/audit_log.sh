# Sourced by transcripts (". "$TESTDIR/audit_log.sh"").
#
# kv_audit_lines [FILE]
#   Prints the lines of the audit log (ProgramData/Orvo/kv_mgmt.log beside
#   the host file, or FILE), each as "CLI [message]": the time text before
#   the tag is dropped, and so is the carriage return of the Windows
#   build, which writes the log in Windows' text mode (CR LF line ends).
kv_audit_lines() {
  sed -e 's/^[A-Z][a-z][a-z] [A-Z][a-z][a-z] [ 0-9][0-9] [0-9:]* [0-9]* CLI \[/CLI [/' \
      -e 's/\r$//' "${1:-ProgramData/Orvo/kv_mgmt.log}"
}
