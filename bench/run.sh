#!/usr/bin/env bash
# Sourced by ./lrf.sh bench (ROOT and BUILD set): the ten files of one bimester from a large sample
# installation, against Firebird's isql running the same statements on the same database, and their
# conferência (lrf-export --conferir) beside them.
set -euo pipefail
scale=${LRF_BENCH_SCALE:-50}
bim=${LRF_BENCH_BIMESTRE:-2}
dir=$BUILD/bench/sample-$scale
out=$BUILD/bench/out
if [ ! -f "$dir/Korv.ini" ]; then
  rm -rf "$dir"
  /usr/bin/time -f "korv-sample scale $scale: %e s, peak %M KB" "$BUILD/bin/korv-sample" --dir "$dir" --scale "$scale"
fi
db=$(find "$dir" -name 'KORV*.FDB' | head -n 1)
ano=$(sed -n 's/^ano=\([0-9]*\).*/\1/p' "$dir/Korv.ini")
"$BUILD/bin/lrf-bench-statements" "$bim" "$ano" > "$BUILD/bench/statements.sql"
rm -rf "$out"

echo "Database: $db ($(du -h "$db" | cut -f1)), bimester $bim"
for run in 1 2 3; do
  /usr/bin/time -f "lrf-export  run $run: %e s, peak %M KB" \
    "$BUILD/bin/lrf-export" --ini "$dir/Korv.ini" --bimestre "$bim" --saida "$out/" >/dev/null
  /usr/bin/time -f "isql-fb     run $run: %e s, peak %M KB" \
    isql-fb -q -user EPMDGZG2 -ch NONE -i "$BUILD/bench/statements.sql" -o /dev/null "$db"
  # The conferência of the files just written: its own statements and the files read back.
  /usr/bin/time -f "conferência run $run: %e s, peak %M KB" \
    "$BUILD/bin/lrf-export" --ini "$dir/Korv.ini" --bimestre "$bim" --saida "$out/" --conferir >"$BUILD/bench/conferencia.txt" ||
    echo "(a conferência achou erros: veja $BUILD/bench/conferencia.txt)"
done
echo "Files:"; ls -l "$out"
