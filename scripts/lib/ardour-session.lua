-- Makes an Ardour session with Quarry on a stereo track, on the dummy
-- audio backend, and saves it for Ardour's GUI to open. Run by
-- scripts/check-editor-in-ardour through ardour7-lua.
local dir = os.getenv("QUARRY_ARDOUR_SESSION")
AudioEngine:set_backend("None (Dummy)", "", "")
local s = create_session(dir, "quarry", 44100)
assert(s, "Ardour could not create a session")
local track = s:new_audio_track(2, 2, nil, 1, "T", ARDOUR.PresentationInfo.max_order,
                                ARDOUR.TrackMode.Normal, true):front()
-- Listing the plug-ins makes Ardour read its scan cache first.
local listed = false
for p in ARDOUR.LuaAPI.list_plugins():iter() do
  listed = listed or (p.name == "Quarry" and p.type == ARDOUR.PluginType.LXVST)
end
assert(listed, "Ardour does not list the Quarry plug-in")
local quarry = ARDOUR.LuaAPI.new_plugin(s, "Quarry", ARDOUR.PluginType.LXVST, "")
assert(not quarry:isnil(), "Ardour did not find the Quarry plug-in")
assert(track:add_processor_by_index(quarry, 0, nil, true), "Ardour could not insert Quarry")
s:save_state("", false, false, false, false, false)
close_session()
print("session saved")
