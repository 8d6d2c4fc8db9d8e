-- Puts Quarry on a stereo track of a new Ardour session running on JACK and
-- feeds the track from jack_simple_client's sine outputs: three seconds with
-- the bypass on, then three with it off. The caller records the track's
-- outputs. Run by scripts/check-in-ardour through ardour7-lua.
local dir = os.getenv("QUARRY_ARDOUR_SESSION")
AudioEngine:set_backend("JACK", "ardour", "")
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
track:input():disconnect_all(nil)
track:input():audio(0):connect("jack_simple_client:output1")
track:input():audio(1):connect("jack_simple_client:output2")
track:monitoring_control():set_value(ARDOUR.MonitorChoice.MonitorInput, PBD.GroupControlDisposition.NoGroup)
local plugin = quarry:to_insert():plugin(0)
for i = 0, plugin:parameter_count() - 1 do
  print(string.format("parameter %d %-6s %.6f", i, plugin:parameter_label(i),
                      ARDOUR.LuaAPI.get_processor_param(quarry, i)))
end
print("ready")
io.stdout:flush()
ARDOUR.LuaAPI.set_processor_param(quarry, 3, 1.0)
ARDOUR.LuaAPI.usleep(3000000)
ARDOUR.LuaAPI.set_processor_param(quarry, 3, 0.0)
ARDOUR.LuaAPI.usleep(3000000)
s:save_state("", false, false, false, false, false)
close_session()
print("session saved")
