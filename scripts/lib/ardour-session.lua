-- Makes an Ardour session with Quarry on a stereo track, on the dummy
-- audio backend, and saves it for Ardour's GUI to open. Run by
-- scripts/check-editor-in-ardour through ardour7-lua.
dofile("scripts/lib/ardour-quarry-track.lua")
local s = quarry_on_track("None (Dummy)")
s:save_state("", false, false, false, false, false)
close_session()
print("session saved")
