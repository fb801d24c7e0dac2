dofile(string.gsub(arg[0], "[^/]*$", "") .. "harness.lua")

-- The clip list: commands with their undo steps and their argument checks.
SetTotalFrames(48)
T.eq(GetClipCount(), 0, "a new scene has no clips")
T.eq(AddClip("Walk", 1, 24, true), 0, "the first clip's index")
T.eq(AddClip("Run", 25, 40), 1, "the second's")
local name, first, last, loop = GetClip(0)
T.check(name == "Walk" and first == 1 and last == 24 and loop == true, "a clip as it was added")
T.eq(select(4, GetClip(1)), false, "loop is off unless asked for")

local bad = {
  { function() AddClip("", 1, 2) end, "name must not be empty", "an empty name" },
  { function() AddClip("Walk", 1, 2) end, "already used by clip 0", "a name in use" },
  { function() AddClip("A", 0, 2) end, "first must be 1 or more", "frame 0" },
  { function() AddClip("A", 5, 4) end, "last must be first or more", "a range running backwards" },
  { function() AddClip("A", 1.5, 4) end, "whole frames", "a fraction of a frame" },
  { function() AddClip("A", 0 / 0, 4) end, "whole frames", "NaN" },
  { function() GetClip(2) end, "index must be between 0 and 1", "an index past the list" },
  { function() SetClip(-1, "A", 1, 2) end, "index must be between 0 and 1", "a negative index" },
  { function() SetClip(1, "Walk", 1, 2) end, "already used by clip 0", "renaming onto another clip" },
  { function() DeleteClip(5) end, "index must be between 0 and 1", "deleting past the list" },
}
for _, case in ipairs(bad) do T.fails(case[1], case[2], case[3]) end
T.eq(GetClipCount(), 2, "refused commands change nothing")

SetClip(1, "Run", 25, 60, true)
T.eq(GetTotalFrames(), 60, "a clip beyond the total frames raises the total")
T.eq(select(3, GetClip(1)), 60, "the changed range")
SetClip(1, "Run", 25, 40)  -- keeping its own name is fine

SetFrame(3)
SelectClip(1)
T.eq(GetFrame(), 25, "selecting a clip goes to its first frame")

DeleteClip(0)
T.eq(GetClipCount(), 1, "deleted")
T.eq(GetClip(0), "Run", "the rest move up")
Undo()
T.eq(GetClipCount(), 2, "undo brings the deleted clip back")
T.eq(GetClip(0), "Walk", "in its place")
Undo()
T.eq(select(3, GetClip(1)), 60, "undo takes back a change")
Undo()
Undo()
T.eq(GetClipCount(), 1, "and an addition")
T.done()
