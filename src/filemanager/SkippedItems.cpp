#include "filemanager/SkippedItems.h"

namespace {
const char* ReasonText(SkipReason reason)
{
    switch (reason) {
    case SkipReason::NotFound: return "не найден";
    case SkipReason::NameNotRepresentable: return "имя не записывается в кодировке системы";
    case SkipReason::NameChanged: return "найден под другим именем";
    case SkipReason::ReparsePoint: return "ссылка на другую папку";
    case SkipReason::PathTooLong: return "слишком длинный путь";
    case SkipReason::UnsafeName: return "недопустимое имя";
    case SkipReason::TooDeep: return "слишком глубокая вложенность папок";
    case SkipReason::NameTooLong: return "слишком длинное имя";
    case SkipReason::Unreadable: return "содержимое папки не читается";
    case SkipReason::WrongFolder: return "не удалось вернуться в папку, операция прервана";
    case SkipReason::NotAccepted: return "телефон не принимает файлы";
    }
    return "";
}
}  // namespace

GString SkippedItemsText(const std::vector<SkippedItem>& items, uint32_t maxLines)
{
    GString text;
    if (items.empty())
        return text;
    text = "Не переданы следующие объекты:";
    uint32_t shown = 0;
    for (const SkippedItem& item : items) {
        if (shown == maxLines)
            break;
        text.Append("\n«");
        text.Append(item.name);
        text.Append("»: ");
        text.Append(ReasonText(item.reason));
        ++shown;
    }
    if (items.size() > shown) {
        GString more;
        more.Format("\n... и ещё %u", static_cast<unsigned>(items.size() - shown));
        text.Append(more);
    }
    return text;
}
