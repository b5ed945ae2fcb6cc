#!/usr/bin/env bash
# The "require" step of the PostgreSQL script tests: exit 77 (skipped), with
# the reason, unless the data source scriptrun_pg answers. The suite gets
# that data source when it runs under scripts/with-postgres.sh.
if [ -z "${ODBCINI:-}" ] || ! grep -q '^\[scriptrun_pg\]' "$ODBCINI" 2>/dev/null; then
  echo "SKIPPED: no PostgreSQL data source; run the suite under scripts/with-postgres.sh"
  exit 77
fi
if ! isql -b scriptrun_pg < /dev/null > /dev/null 2>&1; then
  echo "SKIPPED: PostgreSQL data source scriptrun_pg does not answer"
  exit 77
fi
exit 0
