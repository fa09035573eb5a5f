#!/usr/bin/env bash
# Holds the text boxes to the platform's edit control with new random seeds until the time is up: the side-by-side
# test, every kind of box, one new seed per round, in one throw-away Wine prefix. Prints each seed with its result
# (a failing seed replays with QUILLON_SIDE_BY_SIDE_SEED=<seed>) and fails when any round failed.
# Usage: scripts/soak.sh MINUTES [STEPS-PER-KIND]   (default 2,000 steps)
set -euo pipefail
cd "$(dirname "$0")/.."

minutes=${1:?usage: scripts/soak.sh MINUTES [STEPS-PER-KIND]}
steps=${2:-2000}
scripts/install-deps.sh
cmake --preset windows -DQUILLON_BUILD_TESTS=ON >/dev/null
cmake --build --preset windows --target textbox_side_by_side -j "$(nproc)"
test_exe=$(find build/windows -name textbox_side_by_side.exe | head -n 1)

export QUILLON_SOAK_UNTIL=$(( $(date +%s) + minutes * 60 )) QUILLON_SOAK_STEPS="$steps" QUILLON_SOAK_EXE="$test_exe"
scripts/with-wine.sh bash -c '
  failed=0 rounds=0
  while [ "$(date +%s)" -lt "$QUILLON_SOAK_UNTIL" ]; do
    seed=$(od -An -N6 -tu8 /dev/urandom | tr -d " ")
    if QUILLON_SIDE_BY_SIDE_SEED=$seed QUILLON_SIDE_BY_SIDE_STEPS=$QUILLON_SOAK_STEPS \
        wine "$QUILLON_SOAK_EXE" --gtest_brief=1 >"$WINEPREFIX/round.log" 2>&1; then
      echo "seed $seed: passed"
    else
      echo "seed $seed: FAILED"
      grep -v "^\[" "$WINEPREFIX/round.log" | tail -n 20
      failed=1
    fi
    rounds=$((rounds + 1))
  done
  echo "$rounds rounds of $QUILLON_SOAK_STEPS steps per kind"
  exit $failed'
