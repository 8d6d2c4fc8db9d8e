#pragma once
// Program (.fxp) and bank (.fxb) files, written and read by the host
// through the framework's file codec: big-endian headers around either the
// plug-in's own chunk (effGetChunk/effSetChunk; the forms "FPCh" and
// "FBCh") or a list of normalised parameter values (the forms "FxCk" and
// "FxBk"). A plug-in that declares program chunks gets the chunk forms; any
// other the list forms. Loading accepts all four forms, checks the whole
// file before the plug-in sees any of it, names what is wrong with a
// damaged one (truncated, not a program file, ...), and refuses files made
// for another plug-in.
//
// Threads: main thread, between or outside processing.

#include <cstddef>
#include <string>

class HostedPlugin;

// With noClobber an existing file is left alone and the save fails.
bool SaveProgramFile(HostedPlugin* plugin, const std::string& path, bool noClobber, std::string* error);
bool SaveBankFile(HostedPlugin* plugin, const std::string& path, bool noClobber, std::string* error);
bool LoadProgramFile(HostedPlugin* plugin, const std::string& path, std::string* error);
bool LoadBankFile(HostedPlugin* plugin, const std::string& path, std::string* error);

// A four-character code as text ('Qry1'), or its number when it has
// characters that cannot be shown.
std::string FourCCText(int code);
