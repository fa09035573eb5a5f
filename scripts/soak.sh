#!/usr/bin/env bash
# Holds the text boxes to the platform's edit control with new random seeds until the time is up: the side-by-side
# test, one new seed per round, its kinds of box side by side, each in a throw-away Wine prefix and display of its
# own. Prints each seed with its result (a failing seed replays with QUILLON_SIDE_BY_SIDE_SEED=<seed>) and fails
# when any round failed.
# Usage: scripts/soak.sh MINUTES [STEPS-PER-KIND]   (default 2,000 steps)
set -euo pipefail
cd "$(dirname "$0")/.."

minutes=${1:?usage: scripts/soak.sh MINUTES [STEPS-PER-KIND]}
steps=${2:-2000}
scripts/install-deps.sh
cmake --preset windows -DQUILLON_BUILD_TESTS=ON >/dev/null
cmake --build --preset windows --target textbox_side_by_side -j "$(nproc)"
test_exe=$(find build/windows -name textbox_side_by_side.exe | head -n 1)
logs=$(mktemp -d /tmp/quillon-soak.XXXXXX)

until=$(( $(date +%s) + minutes * 60 ))
failed=0 rounds=0
while [ "$(date +%s)" -lt "$until" ]; do
  seed=$(od -An -N6 -tu8 /dev/urandom | tr -d " ")
  pids=()
  for kind in SingleLine SingleLineReadOnly MultiLineReadOnly ComboField PromptField; do
    QUILLON_SIDE_BY_SIDE_SEED=$seed QUILLON_SIDE_BY_SIDE_STEPS=$steps scripts/with-wine.sh \
      wine "$test_exe" --gtest_brief=1 --gtest_filter="*Does/$kind" >"$logs/$kind.log" 2>&1 &
    pids+=($!)
  done
  round=0
  for pid in "${pids[@]}"; do wait "$pid" || round=1; done
  if [ "$round" = 0 ]; then
    echo "seed $seed: passed"
  else
    echo "seed $seed: FAILED"
    grep -hv "^\[" "$logs"/*.log | grep -v "^Running main\|^Note: Google" | tail -n 40
    failed=1
  fi
  rounds=$((rounds + 1))
done
echo "$rounds rounds of $steps steps per kind"
rm -rf "$logs"
exit $failed
