-- Puts Quarry on a stereo track of a new Ardour session running on JACK and
-- feeds the track from jack_simple_client's sine outputs: three seconds with
-- the bypass on, then three with it off. The caller records the track's
-- outputs. Run by scripts/check-in-ardour through ardour7-lua.
dofile("scripts/lib/ardour-quarry-track.lua")
local s, track, quarry = quarry_on_track("JACK")
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
