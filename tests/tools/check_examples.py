#!/usr/bin/python3
"""Regenerates the example PDF files into a temporary folder and compares them
byte for byte with the committed ones in examples/.

Exit 0: every file matches; 1: a file differs, is missing or is extra; 77:
this Python has no reportlab, so the examples cannot all be written.
The reportlab-written file is compared only under the reportlab release that
wrote it (another release may lay out its bytes differently)."""

import os
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.dont_write_bytecode = True  # keep the source tree free of caches
sys.path.insert(0, os.path.join(ROOT, "tools"))

import make_examples  # noqa: E402


def main():
    try:
        import reportlab
    except ImportError:
        print("examples: %s has no reportlab; skipped" % sys.executable)
        return 77
    committed_dir = os.path.join(ROOT, "examples")
    committed = sorted(f for f in os.listdir(committed_dir) if f.endswith(".pdf"))
    with tempfile.TemporaryDirectory() as tmp:
        status = make_examples.main(["make_examples.py", tmp])
        if status != 0:
            print("examples: make_examples.py exited with %d" % status)
            return 1
        fresh = sorted(f for f in os.listdir(tmp) if f.endswith(".pdf"))
        failed = False
        for name in sorted(set(committed) | set(fresh)):
            if name not in fresh:
                print("examples: %s is committed but no longer written" % name)
                failed = True
                continue
            if name not in committed:
                print("examples: %s is written but not committed" % name)
                failed = True
                continue
            with open(os.path.join(committed_dir, name), "rb") as f:
                old = f.read()
            with open(os.path.join(tmp, name), "rb") as f:
                new = f.read()
            if old == new:
                print("examples: %s matches" % name)
                continue
            if (name == make_examples.REPORTLAB_FILE
                    and reportlab.Version != make_examples.REPORTLAB_VERSION):
                print("examples: %s not compared: written by reportlab %s, this is %s"
                      % (name, make_examples.REPORTLAB_VERSION, reportlab.Version))
                continue
            at = next((i for i in range(min(len(old), len(new))) if old[i] != new[i]),
                      min(len(old), len(new)))
            print("examples: %s differs from a fresh run (sizes %d and %d, first difference "
                  "at byte %d); rerun tools/make_examples.py and commit" %
                  (name, len(old), len(new), at))
            failed = True
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
