#include "LinuxAdapters.h"

#include "CompiledMainBundle.h"
#include "LocalFileSystem.h"
#include "MessageBoxAlert.h"
#include "NoPromptScriptRunner.h"
#include "TrustedAccessibility.h"
#include "platform/Services.h"

namespace platform::linux_ {

void installLinuxAdapters() {
    install<FileSystem>(std::make_shared<LocalFileSystem>());
    install<ScriptRunner>(std::make_shared<NoPromptScriptRunner>());
    install<Accessibility>(std::make_shared<TrustedAccessibility>());
    install<Alert>(std::make_shared<MessageBoxAlert>());
    install<MainBundle>(std::make_shared<CompiledMainBundle>());
}

} // namespace platform::linux_
