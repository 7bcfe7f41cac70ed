#!/usr/bin/env python3
"""scripts/deps on small source trees: which includes it lets pass and which it refuses, by name."""
import os
import subprocess
import sys
import tempfile
import unittest

DEPS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts", "deps")


def run_on(files):
    """Writes `files` ({path: text}) into a fresh tree and runs the check on it."""
    with tempfile.TemporaryDirectory() as root:
        for path, text in files.items():
            os.makedirs(os.path.dirname(os.path.join(root, path)), exist_ok=True)
            with open(os.path.join(root, path), "w") as f:
                f.write(text)
        done = subprocess.run([sys.executable, DEPS, root], capture_output=True, text=True)
        return done.returncode, done.stdout


BASE = {"common/Text.h": "#pragma once\n", "platform/Dialogs.h": "#pragma once\n",
        "encode/WavInput.h": '#pragma once\n#include "common/Text.h"\n',
        "finder/Search.h": "#pragma once\n", "rip/Rip.h": "#pragma once\n"}


class LayerOrder(unittest.TestCase):
    def test_includes(self):
        cases = [
            # (what, extra files, passes, words the report must hold)
            ("down the layers", {"rip/Rip.cpp": '#include "encode/WavInput.h"\n#include "common/Text.h"\n'},
             True, []),
            ("up from an adapter", {"platform/linux/Cue.cpp": '// reads a sheet\n\n#include "encode/WavInput.h"\n'},
             False, ["upward include: platform/linux includes encode",
                     "platform/linux/Cue.cpp:3 includes encode/WavInput.h"]),
            ("across one layer", {"settings/Paths.cpp": '#include "finder/Search.h"\n'},
             False, ["same layer", "settings/Paths.cpp:1 includes finder/Search.h"]),
            ("into an adapter from the logic", {"platform/linux/Cdio.h": "#pragma once\n",
                                                "rip/Drive.cpp": '#include "platform/linux/Cdio.h"\n'},
             False, ["rip includes the adapter platform/linux"]),
            ("into an adapter from the composition root", {"platform/linux/Cdio.h": "#pragma once\n",
                                                           "app/main.cpp": '#include "platform/linux/Cdio.h"\n'},
             True, []),
            ("a view of any window", {"finder/view/SearchView.cpp": '#include "finder/Search.h"\n'}, True, []),
            ("a folder with no layer", {"gadgets/Gadget.h": '#include "common/Text.h"\n'},
             False, ["folder gadgets has no layer"]),
            ("round a circle", {"common/Loop.h": '#include "encode/WavInput.h"\n'},
             False, ["upward include: common includes encode", "cycle: common <-> encode"]),
        ]
        for what, extra, passes, words in cases:
            with self.subTest(what):
                status, report = run_on({**BASE, **extra})
                self.assertEqual(status == 0, passes, report)
                for text in words:
                    self.assertIn(text, report)


if __name__ == "__main__":
    unittest.main()
