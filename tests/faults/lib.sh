# The fault suite and the hardening tests use the end-to-end helpers, with the
# offline configuration beside every copy of the exe.
source "$(dirname "${BASH_SOURCE[0]}")/../e2e/lib.sh"
copy_config=1
