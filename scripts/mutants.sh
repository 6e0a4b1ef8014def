#!/usr/bin/env bash
# A reproducible mutation sample: how many small faults put into the core
# (src/ outside the desktop program) the tests catch.
#
#   scripts/mutants.sh [--seed N] [--per-kind N] [--sample FILE] [--only ID,...] [--list] [--work NAME]
#                      [--baseline-tests REF]
#
# A seeded draw picks --per-kind single-token changes of each of five kinds
# from every .cpp under src/ except src/app and src/chart/paint:
#   compare   a comparison flipped (< <=, > >=, == !=)
#   arith     an arithmetic or logical operator flipped (+ -, * /, && ||, += -=)
#   const     an integer constant off by one (n -> n+1)
#   negate    the condition of an if or while negated
#   drop      a statement dropped (an assignment, a call, ++/--, break, continue)
# --sample FILE replays the mutants listed in FILE (the sample.tsv of an
# earlier run) instead of drawing, so the same faults can be measured again
# after the source has moved. --list prints the sample and stops. --work NAME
# keeps the run in build/NAME instead of build/mutants, so two runs (say,
# before and after a change to the tests) can proceed side by side.
# --baseline-tests REF measures a change to the tests: the tests/ folder of
# git revision REF is built as test_<dir> and the working tree's as a second
# set, after_<dir>, in the same build tree, and every mutant (compiled once)
# runs against both; each mutant's line reads "REF: outcome, working tree:
# outcome" and both kill rates are given.
#
# Each mutant is built in Release in build/mutants/build from a copy of the
# working tree (build/mutants/tree, so the worktree is never touched and can
# be edited during a run) and run against the test programs of its folder
# (src/cli also against the programs holding the CLI tests). A mutant is
# killed when a test fails, crashes or times out, survives when every test
# passes, and is stillborn (not counted) when it does not compile. The copy's
# file is restored after each mutant and on exit.
#
# Output: one line per mutant, then the kill rate; also build/mutants/results.tsv.
# Run it at low priority on a shared machine: nice -n 19 scripts/mutants.sh
set -euo pipefail

seed=20240601
per_kind=14
sample_in=""
only=""
list_only=0
work_name=mutants
baseline=""
while [[ $# -gt 0 ]]; do
    case "$1" in
        --seed) seed="$2"; shift 2 ;;
        --per-kind) per_kind="$2"; shift 2 ;;
        --sample) sample_in="$(realpath "$2")"; shift 2 ;;
        --only) only="$2"; shift 2 ;;
        --list) list_only=1; shift ;;
        --work) work_name="$2"; shift 2 ;;
        --baseline-tests) baseline="$2"; shift 2 ;;
        *) echo "usage: $0 [--seed N] [--per-kind N] [--sample FILE] [--only ID,...] [--list] [--work NAME]" >&2; exit 2 ;;
    esac
done

root="$(git -C "$(dirname "$0")" rev-parse --show-toplevel)"
work="$root/build/$work_name"
tree="$work/tree"
build="$work/build"
mkdir -p "$work"

# A copy of the working tree's files (tracked and new, not ignored). An
# earlier copy is brought up to date file by file, so files that did not
# change keep their times and the build tree stays incremental.
fresh="$work/fresh"
rm -rf "$fresh"
mkdir -p "$fresh" "$tree"
(cd "$root" && git ls-files -z --cached --others --exclude-standard |
    tar --null --files-from=- --ignore-failed-read -cf - 2>/dev/null) | tar -xf - -C "$fresh"
if [[ -n "$baseline" ]]; then
    # The working tree's tests move to a folder of their own with their own
    # program names; tests/ holds the baseline revision's.
    mv "$fresh/tests" "$fresh/tests_after"
    git -C "$root" archive "$baseline" tests | tar -xf - -C "$fresh"
    sed -i 's/set(target test_${dir})/set(target after_${dir})/' "$fresh/tests_after/CMakeLists.txt"
    sed -i 's|^    add_subdirectory(tests)$|    add_subdirectory(tests)\n    add_subdirectory(tests_after)|' "$fresh/CMakeLists.txt"
fi
# No sampled folder is tested through the desktop program: leave it out of
# the test programs' dependencies, so a mutant does not relink it.
sed -i 's/add_dependencies(${target} korvel-cli korvel-server korvel)/add_dependencies(${target} korvel-cli korvel-server)/' \
    "$fresh"/tests*/CMakeLists.txt
python3 - "$fresh" "$tree" <<'PY'
import filecmp, os, shutil, sys
fresh, tree = sys.argv[1], sys.argv[2]
wanted = set()
for folder, _, files in os.walk(fresh):
    for f in files:
        rel = os.path.relpath(os.path.join(folder, f), fresh)
        wanted.add(rel)
        src, dst = os.path.join(fresh, rel), os.path.join(tree, rel)
        if not os.path.exists(dst) or not filecmp.cmp(src, dst, shallow=False):
            os.makedirs(os.path.dirname(dst), exist_ok=True)
            shutil.copy2(src, dst)
            os.utime(dst)  # newer than any object built from the old text
for folder, _, files in os.walk(tree):
    for f in files:
        rel = os.path.relpath(os.path.join(folder, f), tree)
        if rel not in wanted:
            os.remove(os.path.join(tree, rel))
PY
rm -rf "$fresh"

# The sample: drawn from the copy, or replayed from a file.
sample="$work/sample.tsv"
python3 - "$tree" "$seed" "$per_kind" "$sample_in" "$sample" <<'PY'
import os, random, re, sys
tree, seed, per_kind, sample_in, sample_out = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), sys.argv[4], sys.argv[5]

def masked(text):
    """The text with comments and the insides of string and character literals
    blanked (newlines kept), so patterns only match code."""
    out = list(text)
    i, n = 0, len(text)
    def blank(a, b):
        for k in range(a, b):
            if out[k] != '\n': out[k] = ' '
    while i < n:
        c = text[i]
        if text.startswith('//', i):
            j = text.find('\n', i); j = n if j < 0 else j
            blank(i, j); i = j
        elif text.startswith('/*', i):
            j = text.find('*/', i + 2); j = n if j < 0 else j + 2
            blank(i, j); i = j
        elif c == 'R' and text.startswith('"', i + 1) and not (i > 0 and (text[i-1].isalnum() or text[i-1] == '_')):
            m = re.match(r'R"([^(\s]*)\(', text[i:])
            end = text.find(')' + m.group(1) + '"', i) + len(m.group(1)) + 2
            blank(i + 1, end); i = end
        elif c in '"\'' and not (c == '\'' and i > 0 and text[i-1].isalnum()):
            j = i + 1
            while j < n and text[j] != c:
                j += 2 if text[j] == '\\' else 1
            blank(i + 1, j); i = j + 1
        else:
            i += 1
    return ''.join(out)

FLIP = {'<': '<=', '<=': '<', '>': '>=', '>=': '>', '==': '!=', '!=': '==',
        '+': '-', '-': '+', '*': '/', '/': '*', '&&': '||', '||': '&&', '+=': '-=', '-=': '+='}
ASSIGN = r'(=|\+=|-=|\*=|/=|\|=|&=|\^=|<<=|>>=)'
DROP = re.compile(r'^(?:(?:\+\+|--)[\w.\[\]>-]+;|[\w.\[\]>-]+(?:\+\+|--);|break;|continue;'
                  r'|[\w.\[\]>()*-]+ ' + ASSIGN + r' .*;|[\w:.\[\]>-]+(?:<[\w:, ]*>)?\(.*\);)$')

def balanced(s):
    return s.count('(') == s.count(')') and s.count('[') == s.count(']') and s.count('{') == s.count('}')

def candidates(rel, text):
    code = masked(text).split('\n')
    lines = text.split('\n')
    found = []
    for ln, m_line in enumerate(code):
        stripped = m_line.strip()
        if not stripped or stripped.startswith('#'):
            continue
        for m in re.finditer(r'(?<=\S) (<=|>=|==|!=|<|>) (?=\S)', m_line):
            found.append(('compare', ln, m.start(1), m.group(1), FLIP[m.group(1)]))
        for m in re.finditer(r'(?<=\S) (\+|-|\*|/|&&|\|\||\+=|-=) (?=\S)', m_line):
            found.append(('arith', ln, m.start(1), m.group(1), FLIP[m.group(1)]))
        for m in re.finditer(r'(?<![\w.\'])(\d+)(?![\w.\'])', m_line):
            if 'static_assert' in m_line or re.search(r'\[\s*\d+\s*\]\s*[;={]', m_line):
                continue  # array bounds and compile-time checks only fail to build
            found.append(('const', ln, m.start(1), m.group(1), str(int(m.group(1)) + 1)))
        for m in re.finditer(r'\b(if|while) \(', m_line):
            start = m.end() - 1
            depth = 0
            for k in range(start, len(m_line)):
                depth += {'(': 1, ')': -1}.get(m_line[k], 0)
                if depth == 0:
                    cond = lines[ln][start:k + 1]
                    if ';' not in cond and not re.match(r'\((const )?[\w:<>]+[*&]? \w+ = ', cond):
                        found.append(('negate', ln, start, cond, '(!' + cond + ')'))
                    break
        prev = code[ln - 1].strip() if ln else ''
        if (DROP.match(stripped) and balanced(stripped) and not stripped.startswith('return')
                and (prev == '' or prev[-1] in ';{}:' ) and m_line.startswith('    ')):
            col = len(m_line) - len(m_line.lstrip())
            found.append(('drop', ln, col, lines[ln][col:].rstrip(), ';'))
    return [(rel, ln + 1, col, kind, orig, repl, lines[ln]) for kind, ln, col, orig, repl in found]

def source_files():
    for folder, _, files in sorted(os.walk(os.path.join(tree, 'src'))):
        rel_folder = os.path.relpath(folder, tree)
        if rel_folder.startswith(('src/app', 'src/chart/paint')):
            continue
        for f in sorted(files):
            if f.endswith('.cpp'):
                yield os.path.join(rel_folder, f)

if sample_in:
    rows = [l.rstrip('\n').split('\t') for l in open(sample_in, encoding='utf-8') if l.strip() and not l.startswith('#')]
else:
    by_kind = {}
    for rel in source_files():
        for c in candidates(rel, open(os.path.join(tree, rel), encoding='utf-8').read()):
            by_kind.setdefault(c[3], []).append(c)
    rng = random.Random(seed)
    rows = []
    for kind in ('compare', 'arith', 'const', 'negate', 'drop'):
        pool = by_kind.get(kind, [])
        rows += [list(map(str, c)) for c in rng.sample(pool, min(per_kind, len(pool)))]
    print(f'# candidates: ' + ', '.join(f'{k} {len(v)}' for k, v in sorted(by_kind.items())), file=sys.stderr)
with open(sample_out, 'w', encoding='utf-8') as out:
    out.write(f'# id\tfile\tline\tcol\tkind\tfrom\tto\tline text (seed {seed}, {per_kind} per kind)\n')
    for i, r in enumerate(rows, 1):
        if sample_in:
            r = r[1:]
        out.write('\t'.join([str(i)] + r) + '\n')
PY

if [[ $list_only == 1 ]]; then
    cut -f1-7 "$sample"
    exit 0
fi

# Applies mutant row $1 of the sample to the copy; fails when its line is gone.
apply_mutant() {
    python3 - "$tree" "$1" <<'PY'
import sys
tree, row = sys.argv[1], sys.argv[2].split('\t')
_, rel, line, col, kind, orig, repl, text = row[:8]
path = f'{tree}/{rel}'
lines = open(path, encoding='utf-8').read().split('\n')
line, col = int(line) - 1, int(col)
if line >= len(lines) or lines[line] != text:
    # The line moved: take the nearest line with the same text.
    hits = [k for k, l in enumerate(lines) if l == text]
    if not hits:
        sys.exit(1)
    line = min(hits, key=lambda k: abs(k - line))
if lines[line][col:col + len(orig)] != orig:
    sys.exit(1)
lines[line] = lines[line][:col] + repl + lines[line][col + len(orig):]
open(path, 'w', encoding='utf-8').write('\n'.join(lines))
PY
}

# The test programs that check a source folder.
programs_for() {
    case "$1" in
        src/cli/*) echo "test_cli test_datastore test_gep test_strategy test_sync" ;;
        src/chart/*) echo "test_chart" ;;
        *) local dir="${1#src/}"; echo "test_${dir%%/*}" ;;
    esac
}

backup="$work/backup"
current=""
restore() {
    if [[ -n "$current" ]]; then
        cp "$backup" "$tree/$current"  # a new mtime, so ninja rebuilds the original
        current=""
    fi
}
trap restore EXIT INT TERM

# File by file (no unity batches), so a mutant recompiles only its own file.
cmake -S "$tree" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVEL_TESTS=ON \
    -DKORVEL_SANITIZE=OFF -DKORVEL_BENCH=OFF -DKORVEL_UNITY=OFF >/dev/null
# The programs of the sampled folders (of the --only mutants when given).
all_programs="$(grep -v '^#' "$sample" | while IFS=$'\t' read -r id f _; do
    if [[ -z "$only" || ",$only," == *",$id,"* ]]; then programs_for "$f"; fi; done |
    tr ' ' '\n' | sort -u | tr '\n' ' ')"
# The sets of test programs (folder:prefix each): tests/, and with
# --baseline-tests the working tree's in tests_after/.
sets=("tests:test_")
[[ -n "$baseline" ]] && sets=("tests:test_" "tests_after:after_")
targets() {  # the programs of every set for the test_* names $@
    local set p
    for set in "${sets[@]}"; do
        for p in "$@"; do echo -n "${set#*:}${p#test_} "; done
    done
}
echo "building $(targets $all_programs)..."
ninja -C "$build" -j2 $(targets $all_programs) >/dev/null

export QT_QPA_PLATFORM=offscreen
# Timeouts from the unmutated programs: four times their time, at least 60 s.
declare -A limit
for set in "${sets[@]}"; do
    for p in $all_programs; do
        program="$build/${set%%:*}/${set#*:}${p#test_}"
        start=$(date +%s)
        if ! "$program" --gtest_brief=1 >"$work/baseline_${set#*:}${p#test_}.log" 2>&1; then
            echo "$program fails without a mutant; see $work/baseline_${set#*:}${p#test_}.log" >&2
            exit 1
        fi
        took=$(($(date +%s) - start))
        limit[$program]=$((took * 4 > 60 ? took * 4 : 60))
        echo "baseline ${set#*:}${p#test_}: ${took}s"
    done
done

# Runs the programs of one set against the built mutant: "killed by
# PROGRAM (FIRST FAILED TEST)" or "survived".
run_set() {
    local set="$1" p program failed
    shift
    for p in "$@"; do
        program="$build/${set%%:*}/${set#*:}${p#test_}"
        if ! timeout "${limit[$program]}" "$program" --gtest_brief=1 --gtest_fail_fast >"$work/run.log" 2>&1; then
            failed="$(grep -m1 -o '\[  FAILED  \] [A-Za-z0-9_./]*' "$work/run.log" | cut -c14-)"
            echo "killed by ${set#*:}${p#test_} (${failed:-crash or timeout})"
            return
        fi
    done
    echo survived
}

results="$work/results.tsv"
: >"$results"
declare -A killed survived
stillborn=0
while IFS= read -r row; do
    [[ "$row" == \#* ]] && continue
    IFS=$'\t' read -r id file line _ kind from to _ <<<"$row"
    if [[ -n "$only" && ",$only," != *",$id,"* ]]; then continue; fi
    cp -p "$tree/$file" "$backup"
    current="$file"
    what="$id $file:$line $kind '$from' -> '$to'"
    if ! apply_mutant "$row"; then
        restore
        echo "$what: MISSING (line not found)"
        printf '%s\tmissing\n' "$id" >>"$results"
        continue
    fi
    programs="$(programs_for "$file")"
    outcomes=()
    if ! ninja -C "$build" -j2 $(targets $programs) >"$work/build.log" 2>&1; then
        stillborn=$((stillborn + 1))
        outcomes=(stillborn)
    else
        for set in "${sets[@]}"; do
            outcome="$(run_set "$set" $programs)"
            outcomes+=("$outcome")
            case "$outcome" in
                killed*) killed[$set]=$((${killed[$set]:-0} + 1)) ;;
                *) survived[$set]=$((${survived[$set]:-0} + 1)) ;;
            esac
        done
    fi
    restore
    if [[ ${#outcomes[@]} -eq 2 ]]; then
        echo "$what: $baseline: ${outcomes[0]}, working tree: ${outcomes[1]}"
    else
        echo "$what: ${outcomes[0]}"
    fi
    (IFS=$'\t'; printf '%s\t%s\n' "$id" "${outcomes[*]}") >>"$results"
done <"$sample"

echo "stillborn $stillborn (not counted)"
for set in "${sets[@]}"; do
    k=${killed[$set]:-0}
    total=$((k + ${survived[$set]:-0}))
    name="working tree"
    [[ -n "$baseline" && "$set" == tests:* ]] && name="$baseline"
    [[ $total -gt 0 ]] && echo "kill rate ($name): $k/$total = $(python3 -c "print(f'{100 * $k / $total:.1f}%')")"
done
