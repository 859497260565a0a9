#include "LinuxAdapters.h"

#include "CompiledMainBundle.h"
#include "DBusNotifications.h"
#include "DesktopBundleReader.h"
#include "DesktopWorkspace.h"
#include "LocalFileSystem.h"
#include "MessageBoxAlert.h"
#include "MimeAppsHandlerService.h"
#include "NoPromptScriptRunner.h"
#include "TrustedAccessibility.h"
#include "platform/Services.h"

namespace platform::linux_ {

void installLinuxAdapters() {
    // One index, so the list, the metadata and the switch share parsed entries.
    auto index = std::make_shared<DesktopEntryIndex>();
    install<Workspace>(std::make_shared<DesktopWorkspace>(index));
    install<BundleReader>(std::make_shared<DesktopBundleReader>(index));
    install<HandlerService>(std::make_shared<MimeAppsHandlerService>(index));
    install<FileSystem>(std::make_shared<LocalFileSystem>());
    install<ScriptRunner>(std::make_shared<NoPromptScriptRunner>());
    install<Accessibility>(std::make_shared<TrustedAccessibility>());
    install<Alert>(std::make_shared<MessageBoxAlert>());
    install<MainBundle>(std::make_shared<CompiledMainBundle>());
    install<Notifications>(std::make_shared<DBusNotifications>());
}

} // namespace platform::linux_
