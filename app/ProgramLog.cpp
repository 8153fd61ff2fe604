#include "app/ProgramLog.h"

#include "platform/CrashHandler.h"

CProgramLog::CProgramLog(const std::string& folder) : logger(folder + "/log.txt") {
  CLogger::instance = &logger;
  InstallCrashHandler(logger.FileDescriptor(), folder.c_str());
}

CProgramLog::~CProgramLog() {
  RemoveCrashHandler();
  if (CLogger::instance == &logger) CLogger::instance = nullptr;
}
