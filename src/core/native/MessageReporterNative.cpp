// Native side of the reporter: the program's string table as text, strerror for system
// errors, and no box (tests install their own box function).
#include "core/MessagePlatform.h"

#include <cerrno>
#include <cstring>

namespace {

struct StringResource {
    uint32_t id;
    const char* text;
};

// The same strings as the string table of the program's resources.
constexpr StringResource kStrings[] = {
    {100, "Quorvan"},
    {101, "QV - Ошибка"},
    {102, "QV - Предупреждение"},
    {103, "QV - Подключение"},
    {104, "QV - Удаление"},
    {1001, "Ошибка открытия:"},
    {1004, "Ошибка удаления файла «%s».\nПродолжить операцию для других объектов?"},
    {1007, "Не удалось перейдти в папку «%s».\nПродолжить операцию для других папок?"},
    {1008, "Не удалось заменить файл «%s».\nОшибка при удалении.\nПродолжить операцию для других файлов?"},
    {1009, "Не удалось создать папку «%s».\nПродолжить операцию для других папок?"},
    {1010, "Ошибка копирования файла «%s».\nПродолжить операцию для других файлов?"},
    {1011, "Не удалось перейдти в папку «%s».\nБудет произведен переход в начало."},
    {1050, "Ошибка копирования файла «%s».\n«%s» ограничивает размер принимаемого файла.\nРазмер не должен превышать %s байт.\nПродолжить операцию для других файлов?"},
    {1101, "Ошибка инициализации COM (CoInitialize (NULL))"},
    {1401, "Не отправлены на «%s» файлы (%s из %s):"},
    {1402, "Это подключение не поддерживает отправку объектов: файлы отправляются на телефоны, подключённые через ИК-порт или Bluetooth."},
    {1403, "Не удалось открыть канал отправки объектов."},
    {1404, "Телефон отказал в соединении (ответ %s)."},
    {1405, "Телефон не ответил на запрос соединения."},
    {1406, "Отправка прервана."},
    {1407, "%s: телефон отказал (ответ %s)"},
    {1408, "%s: ошибка передачи"},
    {1409, "и ещё %s"},
    {1410, "Выбрано слишком много файлов. Выберите меньше файлов за один раз."},
};

constexpr int kResourceNotFound = ENOENT;

}  // namespace

namespace MessagePlatform {

bool LoadText(uint32_t id, uint32_t capacity, GString& out)
{
    for (const StringResource& s : kStrings) {
        if (s.id != id)
            continue;
        // LoadString truncates to the buffer, keeping room for the terminator.
        const size_t n = std::strlen(s.text);
        const size_t fit = capacity == 0 ? 0 : (n < capacity ? n : capacity - 1);
        if (fit == 0)
            return false;
        out.Assign(s.text, static_cast<uint32_t>(fit));
        return true;
    }
    errno = kResourceNotFound;
    return false;
}

GString SystemText(uint32_t code)
{
    char buffer[256];
    return GString(strerror_r(static_cast<int>(code), buffer, sizeof buffer));
}

uint32_t LastErrorCode() { return static_cast<uint32_t>(errno); }

void SetLastErrorCode(uint32_t code) { errno = static_cast<int>(code); }

int ShowBox(WindowHandle, const char*, const char*, unsigned) { return MessageReporter::kNothingShown; }

}  // namespace MessagePlatform
