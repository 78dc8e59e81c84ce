# Sourced by ./lrf.sh demo once the build is done and the sample installation's Korv.ini lies beside
# the executables (ROOT and BUILD are set): exports the ten files of bimester 2, shows them and ends with
# their conferência.
demo_folder="$ROOT/out/demo/"
mkdir -p "$ROOT/out"
echo "Exportando o 2º bimestre da instalação de exemplo para: $demo_folder"
echo
demo_status=0
"$BUILD/bin/lrf-export" --bimestre 2 --arquivos todos --saida "$demo_folder" || demo_status=$?
echo
if [ -d "$demo_folder" ]; then
  echo "Arquivos em $demo_folder (bytes):"
  find "$demo_folder" -maxdepth 1 -type f -name '*.TXT' -printf '%f %s\n' | sort |
    while read -r demo_name demo_size; do printf '  %-14s %10s\n' "$demo_name" "$demo_size"; done
fi
[ "$demo_status" -eq 0 ] || echo "lrf-export terminou com o código $demo_status" >&2
# The files just written, checked against each other and against the database.
echo
echo "Conferência: lrf-export --bimestre 2 --saida $demo_folder --conferir"
check_status=0
"$BUILD/bin/lrf-export" --bimestre 2 --saida "$demo_folder" --conferir || check_status=$?
[ "$check_status" -eq 0 ] || echo "a conferência terminou com o código $check_status" >&2
return "$demo_status"
