#include "commands.h"

#include "checkcommand.h"
#include "diffcommand.h"
#include "downloadcommand.h"
#include "getcommand.h"
#include "journalcommand.h"
#include "labelcommand.h"
#include "phonescommand.h"
#include "sheetcommand.h"
#include "portscommand.h"
#include "provisioncommand.h"
#include "readupcommand.h"
#include "reportcommand.h"
#include "setcommand.h"
#include "verifycommand.h"

std::vector<std::unique_ptr<Command>> allCommands()
{
    std::vector<std::unique_ptr<Command>> commands;
    commands.push_back(std::make_unique<PortsCommand>());
    commands.push_back(std::make_unique<DownloadCommand>());
    commands.push_back(std::make_unique<ReadupCommand>());
    commands.push_back(std::make_unique<VerifyCommand>());
    commands.push_back(std::make_unique<ProvisionCommand>());
    commands.push_back(std::make_unique<DiffCommand>());
    commands.push_back(std::make_unique<SetCommand>());
    commands.push_back(std::make_unique<CheckCommand>());
    commands.push_back(std::make_unique<GetCommand>());
    commands.push_back(std::make_unique<JournalCommand>());
    commands.push_back(std::make_unique<ReportCommand>());
    commands.push_back(std::make_unique<LabelCommand>());
    commands.push_back(std::make_unique<SheetCommand>());
    commands.push_back(std::make_unique<PhonesCommand>());
    return commands;
}
