"""blender_bvh_check.py - imports a .bvh into Blender and compares every
joint's position, frame by frame, with forward kinematics of the file
(tests/bvh/bvh_fk.py, which the unit tests hold to the program's own part
matrices). A look with an outside tool, not part of the test suite:

   blender -b --factory-startup --python tools/blender_bvh_check.py -- FILE.bvh

axis_forward='Y', axis_up='Z' keep the program's axes. Blender 3.4's
importer opens files with mode 'rU', which its Python refuses: the 'U' is
dropped while it reads.
"""
import builtins
import os
import sys

_open = builtins.open


def open_without_u(file, mode="r", *args, **kwargs):
    return _open(file, mode.replace("U", ""), *args, **kwargs)


import bpy  # noqa: E402

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "bvh"))
import bvh_fk  # noqa: E402

path = sys.argv[sys.argv.index("--") + 1]
builtins.open = open_without_u
bpy.ops.import_anim.bvh(filepath=path, axis_forward="Y", axis_up="Z")
builtins.open = _open
armature = bpy.context.active_object
joints, frames = bvh_fk.parse(open(path).read())
scene = bpy.context.scene
worst, where = 0.0, "-"
for f, values in enumerate(frames):
    scene.frame_set(scene.frame_start + f)
    for name, expected in bvh_fk.positions(joints, values).items():
        head = armature.matrix_world @ armature.pose.bones[name].head
        d = max(abs(head[i] - expected[i]) for i in range(3))
        if d > worst:
            worst, where = d, f"frame {f} joint {name}"
print(f"BLENDER: {len(frames)} frames x {len(joints)} joints;"
      f" largest difference {worst:.6f} at {where}")
