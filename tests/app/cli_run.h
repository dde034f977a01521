#pragma once
// Runs the built novelfetch program as a child process, the way a script at a terminal does:
// UTF-8 arguments, output read back as bytes, and no display to lean on.

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

// What a run left behind.
struct ProgramRun {
  int status = -1;  // exit status; -1 when the program crashed or had to be killed
  std::string out;  // stdout, as the bytes written
  std::string err;  // stderr
};

// UTF-8 bytes whatever the literals' code page: the terminal's side of the conversion.
inline std::string U8(std::u8string_view text) { return std::string(text.begin(), text.end()); }

inline constexpr int kProgramGiveUpMs = 60'000;

// Runs `program` with `arguments` (UTF-8) in `workingDirectory` (empty: the test's own).
inline ProgramRun RunProgramAt(const std::string& program,
                               const std::vector<std::string>& arguments,
                               const std::filesystem::path& workingDirectory = {}) {
  QStringList list;
  for (const std::string& argument : arguments) list << QString::fromUtf8(argument);
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    environment.remove(name);
  }
  QProcess process;
  process.setProcessEnvironment(environment);
  if (!workingDirectory.empty()) {
    process.setWorkingDirectory(QString::fromStdString(workingDirectory.string()));
  }
  process.start(QString::fromStdString(program), list);
  ProgramRun run;
  if (!process.waitForStarted() || !process.waitForFinished(kProgramGiveUpMs)) {
    process.kill();
    process.waitForFinished();
  } else if (process.exitStatus() == QProcess::NormalExit) {
    run.status = process.exitCode();
  }
  run.out = process.readAllStandardOutput().toStdString();
  run.err = process.readAllStandardError().toStdString();
  return run;
}

inline ProgramRun RunNovelfetch(const std::vector<std::string>& arguments,
                                const std::filesystem::path& workingDirectory = {}) {
  return RunProgramAt(NOVELFETCH_PROGRAM, arguments, workingDirectory);
}

// The program reachable as `folder`/novelfetch, so that its settings folder is `folder`
// (a hard link where the file system allows one, else a copy).
inline std::string ProgramIn(const std::filesystem::path& folder) {
  const std::filesystem::path link = folder / "novelfetch";
  std::error_code error;
  std::filesystem::create_hard_link(NOVELFETCH_PROGRAM, link, error);
  if (error) std::filesystem::copy_file(NOVELFETCH_PROGRAM, link, error);
  return link.string();
}
