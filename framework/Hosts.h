#pragma once
// Who loaded the plug-in and which versions are in play: host recognition
// from the host's product name, packed version numbers (0xVVVVRRMM: major in
// the upper 16 bits, minor in bits 8-15, patch in bits 0-7), API and
// architecture names, and two character helpers.
//
// Threads: pure functions, callable from any thread, no locks (except
// GetSystemVersion, which asks the operating system).

// Host identity, -1 until the host has been identified. The codes are
// stable: plug-ins may store or compare them.
enum EHost {
  kHostUninit = -1,
  kHostUnknown = 0,
  kHostReaper = 1,
  kHostProTools = 2,
  kHostCubase = 3,
  kHostNuendo = 4,
  kHostSonar = 5,
  kHostVegas = 6,
  kHostFL = 7,
  kHostSamplitude = 8,
  kHostAbletonLive = 9,
  kHostReserved10 = 10,
  kHostReserved11 = 11,
  kHostMelodyne = 12,
  kHostVSTScanner = 13,
  kHostAULab = 14,
  kHostForte = 15,
  kHostChainer = 16,
  kHostAudition = 17,
  kHostOrion = 18,
  kHostReserved19 = 19,
  kHostSAWStudio = 20,
  kHostLogic = 21,
  kHostGarageBand = 22,
  kHostDigitalPerformer = 23,
  kHostStandalone = 24,
  kHostAudioMulch = 25,
  kHostStudioOne = 26,
  kHostVST3TestHost = 27,
  kHostArdour = 28,
  kHostRenoise = 29,
  kHostOpenMPT = 30
};

// The plug-in binding that created the plug-in instance.
enum EAPI { kAPIVST2 = 0, kAPIVST3 = 1, kAPIAU = 2, kAPIRTAS = 3, kAPIAAX = 4, kAPISA = 5 };

// Room a product name may take in LookUpHost, its NUL included.
constexpr int kHostNameLookupSize = 264;
// Room GetHostNameStr needs ("VST3PluginTestHost" and its NUL).
constexpr int kHostNameStrSize = 19;

// Recognises a host from its product name, ignoring case; the first known
// name found in it wins, in a fixed order (so "Cubase ... Live" is Cubase).
// A null, empty or unknown name gives kHostUnknown. Names longer than
// kHostNameLookupSize - 1 characters are looked at only up to that length.
EHost LookUpHost(const char* host);

// Writes the display name of a host code into name (kHostNameStrSize bytes);
// codes without a name of their own, and codes outside the table, give
// "Unknown".
void GetHostNameStr(EHost host, char* name);

// Splits a packed version; any output pointer may be null.
void GetVersionParts(int version, int* major, int* minor, int* patch);
// major * 10000 + minor * 100 + patch (1.0.0 gives 10000).
int GetDecimalVersion(int version);
// Writes "v%d.%d.%d" (major, minor, patch) into str (at least 20 bytes).
void GetVersionStr(int version, char* str);
// Packs three parts into 0xVVVVRRMM; minor and patch are kept to 0-255.
int MakePackedVersion(int major, int minor, int patch);

// Name of an API code: "VST2", "VST3", "AU", "RTAS", "AAX", "Standalone";
// "" for any other code.
const char* GetAPINameStr(int api);
// Name of the processor architecture the plug-in was built for: "x64".
const char* GetArchNameStr();

// Version of the operating system, packed like plug-in versions (on Linux
// the kernel release); 0 when it cannot be read.
int GetSystemVersion();

// True for tab, line feed, carriage return and space only.
bool IsWhitespace(char c);
// Writes the lower-case form of src and a NUL into dest, which must have
// room for src and its NUL; a null src gives "".
void ToLower(char* dest, const char* src);
