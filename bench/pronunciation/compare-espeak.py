#!/usr/bin/env python3
"""Compare koral's phonemes with espeak-ng's Brazilian Portuguese voice on unseen words.

Draws a random sample of the Brazilian word list (the seed on the command line), runs
`koral --phonemes` and `espeak-ng -v pt-br -q -x` over it, maps espeak-ng's symbols onto our
phoneme names, and prints the words where the two differ, grouped by class. A measurement for
finding rule classes, not a test: espeak-ng is a peer, often wrong itself (jardim, porque).

Mapping of espeak-ng's symbols (and what is notation only):
  '  stress, before the stressed syllable; ","  secondary stress, ignored
  a & e E i o O u   vowels; & is unstressed a: word-final (also before a final s) it is our @,
                    elsewhere our a; U is our u, y (unstressed final i) our i, "i;" our i
  aI eI oI uI       vowel + glide y;  aU ow eU iU -> vowel + glide w (final l included)
  &~ u~             nasal a, u; a vowel followed by N, or by m/n before a consonant, is the
                    nasal vowel (the consonant is only espeak-ng's nasal release)
  eIN (final)       en yn;  &U~ -> an wn;  oIN -> on yn
  n^ -> J;  lj -> L (also l + i before a vowel, written alike by both);  tS dZ S Z as ours
  * and R -> r (tap);  x -> R (strong r);  r at the end of a syllable -> r2
  s z S Z closing a syllable -> s2 (ours is one phoneme whatever its voicing: notation only)
  @- (an epenthetic vowel in clusters), "-", "#", ";" are dropped
A vowel before m, n or nh counts as oral on both sides (its nasality varies by
speaker: capricháramos, vinho). Differences in unstressed vowel height (e/i, o/u before the stress) are reported as their own
class, since broadcast speech varies there.
"""
import argparse
import difflib
import random
import re
import subprocess
import sys
from collections import defaultdict

VOWELS = {"a", "@", "e", "E", "i", "o", "O", "u", "an", "en", "in", "on", "un"}
CONSONANT_START = set("pbtdkgfvszSZmnJlLrRxwh*")


def sample_words(wordlist, count, seed):
    words = []
    with open(wordlist, encoding="utf-8", errors="replace") as f:
        for line in f:
            w = line.strip()
            if len(w) >= 3 and re.fullmatch(r"[a-zà-úç]+", w):
                words.append(w)
    rng = random.Random(seed)
    return rng.sample(words, min(count, len(words)))


def koral_phonemes(koral, rules, words):
    cmd = [koral, "--phonemes"] + (["--rules", rules] if rules else [])
    text = "\n".join(w + "." for w in words) + "\n"
    out = subprocess.run(cmd, input=text.encode("utf-8"), capture_output=True, check=True).stdout
    result = {}
    word, phones = None, []
    for line in out.decode("utf-8", errors="replace").splitlines():
        m = re.match(r";\d+\|(.*)", line)
        if m:
            if word:
                result.setdefault(word, phones)
            word, phones = m.group(1).strip().lower(), []
        elif line.strip() and word and not line.startswith("_"):
            phones.append(line.strip())
    if word:
        result.setdefault(word, phones)
    return result


def espeak_lines(words):
    text = "\n".join(words) + "\n"
    out = subprocess.run(["espeak-ng", "-v", "pt-br", "-q", "-x"], input=text.encode("utf-8"),
                         capture_output=True, check=True).stdout
    lines = [l.strip() for l in out.decode("utf-8", errors="replace").splitlines() if l.strip()]
    return dict(zip(words, lines)) if len(lines) == len(words) else {}


TOKENS = ["&U~", "eIN", "eIm", "eIn", "oIN", "&~", "u~", "o~", "e~", "i~", "a~", "i;", "n^", "lj", "tS", "dZ", "aI", "eI", "oI", "uI",
          "EI", "OI", "aU", "ow", "eU", "EU", "iU", "@-"]


def espeak_to_ours(code):
    """espeak-ng's -x line for one word -> our phonemes with '>' before the stressed vowel."""
    s = code.replace(",", "").replace("@", "").replace("-", "").replace("#", "")
    raw, i = [], 0
    while i < len(s):
        for t in TOKENS:
            if s.startswith(t, i):
                raw.append(t)
                i += len(t)
                break
        else:
            raw.append(s[i])
            i += 1
    out, stress_next = [], False
    for k, t in enumerate(raw):
        nxt = raw[k + 1] if k + 1 < len(raw) else ""
        if t == "'":
            stress_next = True
            continue
        mapped = {
            "&U~": ["an", "wn"], "oIN": ["on", "yn"], "&~": ["an"], "a~": ["an"],
            "u~": ["un"], "o~": ["on"], "e~": ["en"], "i~": ["in"],
            # e + glide + nasal: a nasal glide at the word's end, the plain nasal e elsewhere
            "eIN": ["en"] + (["yn"] if not nxt or (nxt == "s" and k + 2 == len(raw)) else []),
            "eIm": ["en"] + ([] if nxt and nxt not in "aeiouE&O" else ["m"]),
            "eIn": ["en"] + ([] if nxt and nxt not in "aeiouE&O" else ["n"]),
            # j: the nasal glide after a nasal vowel, else the unstressed i of a hiatus
            "j": ["yn"] if k and raw[k - 1] in ("o~", "e~", "a~", "&~", "u~") else ["i"], "i;": ["i"], "n^": ["J"], "lj": ["L"], "tS": ["tS"], "dZ": ["dZ"],
            "aI": ["a", "y"], "eI": ["e", "y"], "oI": ["o", "y"], "uI": ["u", "y"],
            "EI": ["E", "y"], "OI": ["O", "y"], "aU": ["a", "w"], "ow": ["o", "w"],
            "eU": ["e", "w"], "EU": ["E", "w"], "iU": ["i", "w"], "@-": [],
            "&": ["a"], "U": ["u"], "y": ["i"], "I": ["y"], "*": ["r"], "R": ["r"],
            "x": ["R"], "h": ["R"], "N": ["N"], ";": [],
        }.get(t, [t])
        if mapped and mapped[0] in VOWELS and stress_next:
            mapped = [">" + mapped[0]] + mapped[1:]
            stress_next = False
        out.extend(mapped)
    return finish_espeak(out)


def finish_espeak(ph):
    res = []
    for k, p in enumerate(ph):
        nxt = ph[k + 1] if k + 1 < len(ph) else ""
        base = p.lstrip(">")
        # nasal release consonant after a vowel, before a consonant or at the end
        if base in ("N", "m", "n") and res and res[-1].lstrip(">") in VOWELS and (
                not nxt or nxt.lstrip(">") not in VOWELS):
            prev = res[-1]
            mark = ">" if prev.startswith(">") else ""
            v = prev.lstrip(">")
            nas = {"a": "an", "e": "en", "E": "en", "i": "in", "o": "on", "O": "on", "u": "un"}
            res[-1] = mark + nas.get(v, v)
            continue
        if base == "N":
            continue
        res.append(p)
    # unstressed final a (and before a final s) is @
    for k in range(len(res) - 1, -1, -1):
        if res[k] == "a" and (k == len(res) - 1 or (k == len(res) - 2 and res[-1] == "s")):
            res[k] = "@"
        break
    if len(res) >= 2 and res[-2] == "a" and res[-1] == "s":
        res[-2] = "@"
    return res


def normalize(ph):
    """Collapse what is notation only: syllable-final s/z/S/Z and r, R."""
    out = []
    oral = {"an": "a", "en": "e", "in": "i", "on": "o", "un": "u"}
    for k, p in enumerate(ph):
        nxt = ph[k + 1].lstrip(">") if k + 1 < len(ph) else ""
        # a vowel before m, n or nh is nasal or not by speaker, not by rule
        if p.lstrip(">") in oral and nxt in ("m", "n", "J"):
            p = p[:-2] + oral[p[-2:]]
        closes = not nxt or nxt not in VOWELS and nxt not in ("y", "w")
        if p in ("s", "z", "S", "Z", "s2") and closes and k > 0:
            out.append("s2")
        elif p in ("r", "R", "r2") and closes and k > 0:
            out.append("r2")
        else:
            out.append(p)
    return out


def stressed_index(ph):
    vowels = [p for p in ph if p.lstrip(">") in VOWELS]
    for i, p in enumerate(vowels):
        if p.startswith(">"):
            return i, p[1:]
    return None, None


def classify(word, ours, theirs):
    a, b = normalize(ours), normalize(theirs)
    if a == b:
        return None
    ia, va = stressed_index(a)
    ib, vb = stressed_index(b)
    if sum(p.lstrip(">") in VOWELS for p in a) != sum(p.lstrip(">") in VOWELS for p in b):
        return "hiatus or diphthong"
    if ia is not None and ib is not None and ia != ib:
        return "stress position"
    if va != vb and {va, vb} in ({"e", "E"}, {"o", "O"}):
        return "stressed e/o"
    plain_a = [p.lstrip(">") for p in a]
    plain_b = [p.lstrip(">") for p in b]
    ops = [op for op in difflib.SequenceMatcher(None, plain_a, plain_b).get_opcodes()
           if op[0] != "equal"]
    changed = set()
    for tag, i1, i2, j1, j2 in ops:
        changed.update(plain_a[i1:i2])
        changed.update(plain_b[j1:j2])
    if "x" in word and changed & {"k", "s", "S", "z", "s2"}:
        return "x"
    if changed <= {"s", "z", "s2"}:
        return "s/z"
    if changed <= VOWELS | {"y", "w"}:
        return "unstressed vowels" if va == vb else "stressed vowel"
    return "other"


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("seed", type=int)
    ap.add_argument("--count", type=int, default=2000)
    ap.add_argument("--koral", default="build/src/apps/koral")
    ap.add_argument("--rules", default="", help="koral's rule folder (default: its own)")
    ap.add_argument("--wordlist", default="/usr/share/dict/brazilian")
    ap.add_argument("--words", help="a file of words to compare instead of a sample")
    args = ap.parse_args()
    if args.words:
        words = [w.strip() for w in open(args.words, encoding="utf-8") if w.strip()]
    else:
        words = sample_words(args.wordlist, args.count, args.seed)
    ours = koral_phonemes(args.koral, args.rules, words)
    theirs = {}
    for k in range(0, len(words), 200):
        chunk = words[k:k + 200]
        got = espeak_lines(chunk)
        if not got:
            got = {w: espeak_lines([w]).get(w, "") for w in chunk}
        theirs.update(got)
    groups = defaultdict(list)
    for w in words:
        if w not in ours or not theirs.get(w):
            continue
        e = espeak_to_ours(theirs[w])
        cls = classify(w, ours[w], e)
        if cls:
            groups[cls].append((w, " ".join(ours[w]), " ".join(e)))
    total = sum(len(v) for v in groups.values())
    print(f"# {len(words)} words, seed {args.seed}: {total} differ")
    for cls in sorted(groups, key=lambda c: -len(groups[c])):
        print(f"\n## {cls}: {len(groups[cls])}")
        for w, a, b in groups[cls]:
            print(f"{w}\tkoral: {a}\tespeak-ng: {b}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
