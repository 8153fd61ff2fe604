#!/usr/bin/python3
"""Records the solution replays of the chapter levels from their routes and
checks them with kuroshin-verify:

    tools/levels/make_solutions.py [--build DIR] [WORD ...]

For every level data/Levels/CHAPTER/NAME.tmx with routes in
tests/solutions/CHAPTER/ (NAME.route, the fastest way through without the
scroll, and NAME.scroll.route, a way that takes it), plays each route with
kuroshin_route and writes NAME.rpl and NAME.scroll.rpl beside it. Then
prints each run as kuroshin-verify sees it. With words, only the levels
whose name contains one of them. DIR is the Release build (build/release).
Exits 1 when a run does not complete its level without dying, or a scroll
run comes out without the scroll.
"""

import os
import subprocess
import sys

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))


def main(argv):
    args = argv[1:]
    build = os.path.join(ROOT, "build", "release")
    if args[:1] == ["--build"]:
        build, args = os.path.abspath(args[1]), args[2:]
    data = os.path.join(ROOT, "data")
    solutions = os.path.join(ROOT, "tests", "solutions")
    env = dict(os.environ, SDL_VIDEODRIVER="dummy", ALSOFT_DRIVERS="null")
    failed = False
    for chapter in sorted(os.listdir(os.path.join(data, "Levels"))):
        folder = os.path.join(data, "Levels", chapter)
        if not os.path.isdir(folder):
            continue
        for file in sorted(f for f in os.listdir(folder) if f.endswith(".tmx")):
            name = file[:-4]
            if args and not any(w.lower() in name.lower() for w in args):
                continue
            level = os.path.join("Levels", chapter, file)
            for kind in ("", ".scroll"):
                route = os.path.join(solutions, chapter, name + kind + ".route")
                replay = os.path.join(solutions, chapter, name + kind + ".rpl")
                if not os.path.exists(route):
                    print("%s%s: no route" % (name, kind))
                    failed = True
                    continue
                made = subprocess.run([os.path.join(build, "kuroshin_route"), level, route, replay],
                                      cwd=data, env=env, capture_output=True, text=True)
                if made.returncode != 0:
                    print("%s%s: the route does not complete the level\n%s"
                          % (name, kind, made.stdout[-3000:] + made.stderr))
                    failed = True
                    continue
                checked = subprocess.run([os.path.join(build, "kuroshin-verify"), level, replay],
                                         cwd=data, env=env, capture_output=True, text=True)
                line = checked.stdout.strip()
                ok = (checked.returncode == 0 and line.startswith("completed")
                      and " deaths=0 " in line and (not kind or line.endswith(" scroll=1")))
                print("%-36s %s%s" % (chapter + "/" + name + kind, line, "" if ok else "  <- FAILS"))
                failed = failed or not ok
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
