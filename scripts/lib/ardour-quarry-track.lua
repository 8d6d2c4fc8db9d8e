-- Shared by the Ardour checks: a new session in QUARRY_ARDOUR_SESSION on
-- the given audio backend, with Quarry on a stereo track "T". Returns the
-- session, the track and Quarry's processor.
function quarry_on_track(backend)
  local dir = os.getenv("QUARRY_ARDOUR_SESSION")
  AudioEngine:set_backend(backend, "ardour", "")
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
  return s, track, quarry
end
