#include "framework/linux/LinuxDialogs.h"

#include <strings.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/linux/LinuxPaths.h"
#include "framework/linux/LinuxProcess.h"

namespace {

// An argument list that owns its texts.
class Args {
public:
  Args& operator<<(const std::string& a)
  {
    m_texts.push_back(a);
    return *this;
  }
  // Runs the program; false when it could not be started.
  bool Run(LinuxProgramResult* result) const
  {
    std::vector<const char*> argv;
    for (const std::string& t : m_texts) argv.push_back(t.c_str());
    argv.push_back(nullptr);
    return LinuxRunProgram(argv.data(), result);
  }

private:
  std::vector<std::string> m_texts;
};

std::string Text(const char* s) { return s ? s : ""; }

std::string FirstLine(const BASE_String& s)
{
  const char* t = s.Get();
  return std::string(t, std::strcspn(t, "\r\n"));
}

bool ZenityMessageBox(const std::string& text, const std::string& caption, int type, int* answer)
{
  Args z;
  z << "zenity"
    << (type == kLinuxMsgOKCancel || type == kLinuxMsgYesNo || type == kLinuxMsgYesNoCancel ? "--question"
                                                                                            : "--info");
  z << "--no-markup"
    << "--title=" + caption << "--text=" + text;
  if (type == kLinuxMsgYesNo)
    z << "--ok-label=Yes"
      << "--cancel-label=No";
  // The No button is an extra button, which zenity names on its output, so
  // that Escape or closing the window reads as Cancel, never as No.
  if (type == kLinuxMsgYesNoCancel)
    z << "--ok-label=Yes"
      << "--cancel-label=Cancel"
      << "--extra-button=No";
  if (type == kLinuxMsgOKCancel)
    z << "--ok-label=OK"
      << "--cancel-label=Cancel";
  LinuxProgramResult r;
  if (!z.Run(&r)) return false;
  *answer = kLinuxAnswerNone;
  if (r.exitCode == 0) *answer = kLinuxAnswerDefault;
  else if (r.exitCode == 1 && type == kLinuxMsgYesNoCancel)
    *answer = FirstLine(r.output) == "No" ? kLinuxAnswerAlternate : kLinuxAnswerOther;
  else if (r.exitCode == 1 && (type == kLinuxMsgYesNo || type == kLinuxMsgOKCancel))
    *answer = kLinuxAnswerAlternate;
  return true;
}

bool KdialogMessageBox(const std::string& text, const std::string& caption, int type, int* answer)
{
  Args k;
  k << "kdialog"
    << "--title" << caption;
  if (type == kLinuxMsgYesNo) k << "--yesno" << text;
  else if (type == kLinuxMsgYesNoCancel) k << "--yesnocancel" << text;
  else if (type == kLinuxMsgOKCancel)
    k << "--yesno" << text << "--yes-label"
      << "OK"
      << "--no-label"
      << "Cancel";
  else k << "--msgbox" << text;
  LinuxProgramResult r;
  if (!k.Run(&r)) return false;
  *answer = kLinuxAnswerNone;
  if (r.exitCode == 0) *answer = kLinuxAnswerDefault;
  else if (r.exitCode == 1 &&
           (type == kLinuxMsgYesNo || type == kLinuxMsgYesNoCancel || type == kLinuxMsgOKCancel))
    *answer = kLinuxAnswerAlternate;
  else if (r.exitCode == 2 && type == kLinuxMsgYesNoCancel) *answer = kLinuxAnswerOther;
  return true;
}

std::vector<std::string> SplitTypes(const char* extensions)
{
  std::vector<std::string> types;
  std::string current;
  for (const char* p = extensions ? extensions : "";; ++p) {
    if (*p == ' ' || !*p) {
      if (!current.empty()) types.push_back(current);
      current.clear();
      if (!*p) break;
    } else {
      current += *p;
    }
  }
  return types;
}

// "~" and "~/..." name the home folder; the helper programs need it spelt out.
std::string ExpandHome(const std::string& path)
{
  if (path == "~" || path.compare(0, 2, "~/") == 0) {
    BASE_String home;
    LinuxHomePath(&home);
    return home.Get() + path.substr(1);
  }
  return path;
}

std::string Patterns(const std::vector<std::string>& types)
{
  std::string p;
  for (const std::string& t : types) p += (p.empty() ? "*." : " *.") + t;
  return p;
}

// The chosen path, or "" when nothing was chosen or no program ran.
std::string RunFileDialog(bool save, const std::string& start, const std::vector<std::string>& types)
{
  LinuxProgramResult r;
  Args z;
  z << "zenity"
    << "--file-selection" << (save ? "--title=Save" : "--title=Open") << "--filename=" + start;
  if (save)
    z << "--save"
      << "--confirm-overwrite";
  if (!types.empty()) z << "--file-filter=" + Patterns(types);
  bool ran = z.Run(&r);
  if (!ran) {
    Args k;
    k << "kdialog" << (save ? "--getsavefilename" : "--getopenfilename") << start;
    if (!types.empty()) k << Patterns(types);
    ran = k.Run(&r);
  }
  // A status lost to a host that collects children itself still leaves
  // the printed path, which the programs print only for a choice.
  if (!ran || (r.exitCode != 0 && r.exitCode != -1)) return "";
  return FirstLine(r.output);
}

bool HasType(const std::string& path, const std::vector<std::string>& types)
{
  const size_t slash = path.rfind('/');
  const size_t dot = path.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return false;
  for (const std::string& t : types)
    if (!strcasecmp(path.c_str() + dot + 1, t.c_str())) return true;
  return false;
}

}  // namespace

int LinuxShowMessageBox(const char* text, const char* caption, int type)
{
  int answer = kLinuxAnswerNone;
  if (!ZenityMessageBox(Text(text), Text(caption), type, &answer))
    KdialogMessageBox(Text(text), Text(caption), type, &answer);
  return answer;
}

void LinuxPromptForFile(BASE_String* file, int action, BASE_String* directory, const char* extensions)
{
  const std::string name = file ? file->Get() : "";
  std::string folder = directory ? directory->Get() : "";
  if (folder.empty()) {
    folder = "~/Desktop";
    if (directory) directory->Set(folder.c_str());
  }
  if (file) file->Set("");
  const bool save = action == kLinuxFileSave;
  const std::vector<std::string> types = SplitTypes(extensions);

  std::string start = ExpandHome(folder);
  if (start.empty() || start.back() != '/') start += '/';
  start += name;
  std::string chosen = RunFileDialog(save, start, types);
  if (chosen.empty()) return;
  if (save && !types.empty() && !HasType(chosen, types)) chosen += "." + types[0];
  if (file) file->Set(chosen.c_str());
  const size_t slash = chosen.rfind('/');
  if (directory && slash != std::string::npos) directory->Set(chosen.c_str(), (int)slash + 1);
}

bool LinuxOpenURL(const char* url)
{
  if (!url || !*url) return true;
  // A leading '-' would read as an option of the opener; as a path it
  // means the same file from the working folder.
  const std::string target = url[0] == '-' ? std::string("./") + url : std::string(url);
  const char* argv[] = {"xdg-open", target.c_str(), nullptr};
  return LinuxStartProgram(argv);
}
