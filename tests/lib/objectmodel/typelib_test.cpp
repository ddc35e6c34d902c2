// The published object model read back through ITypeLib/ITypeInfo: library attributes, the
// thirteen classes with their identifiers and instancing, every member of every default
// interface in slot order, the enumerations, the help strings (stored as Windows-1251 bytes)
// and the _IID_ resources.
//
// The member tables below are written from the published interface definition, not from the
// IDL. One member is one string of parameters in a small notation:
//     "&long[] ArrayX; long FindWhat; variant StartAt?; &bool IsFound=0; &variant[] Args..."
// '&' by reference, '?' optional, '=v' optional with default v, '...' parameter array.
// Types: string bool short long double variant object byte[] long[] string[] variant[],
// coll (collection), err (error object), pic (picture), font, style (message-box style),
// answer (message-box result), compare (compare mode), or a type name of the library.
// Property let/set values are written without a name.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "support/win/resources.h"
#include "tests/harness/library.h"

using namespace bktest;

namespace {

struct Member {
    const char* kind;        // m method, g get, l let, s set; then h hidden, 0 dispatch id 0
    const wchar_t* name;
    const wchar_t* params;
    const wchar_t* result;   // empty: none
    const wchar_t* help;     // nullptr: not checked
};

const Member kOrxMain[] = {
    {"m", L"CommandLine", L"", L"_CommandLineParser", nullptr},
    {"m", L"ArrayString", L"&variant[] Args...", L"string[]", nullptr},
    {"m", L"ArrayLong", L"&variant[] Args...", L"long[]", nullptr},
    {"m", L"Collection", L"&variant[] Args...", L"coll", nullptr},
    {"m", L"ShowMSAboutBox", L"&object MSControlObject", L"", L"Выводит окно об элементе управления Microsoft в модальном режиме"},
    {"m", L"ShowAboutBox", L"object Form; object AppObject; string Description=\"\"; pic Picture?; string PictureToolTipText?", L"", nullptr},
    {"m", L"ShowAboutBox2", L"pic Icon; pic IconSmall; object AppObject; string Description=\"\"; pic Picture?; string PictureToolTipText?", L"", nullptr},
    {"m", L"ShowAboutBoxEx", L"string Title; pic Icon?; pic SmallIcon?; long VerMajor=1; long VerMinor=0; long VerRevision=0; string Author?; string AuthorEMail?; string Devote?; string Description=\"\"; pic Picture?; string PictureToolTipText?", L"", nullptr},
    {"m", L"AddTextBoxInsertHook", L"object TextBoxControl", L"bool", L"Добавляет обработчик, который запрещает в текстбокс вставку текста из буфера обмена. Своего рода борьба с глюком."},
    {"m", L"RemoveTextBoxInsertHook", L"object TextBoxControl", L"bool", nullptr},
    {"m", L"ClearTextBoxInsertHooks", L"", L"", L"Удаляет все обработчики, созданные через AddTextBoxInsertHook()."},
    {"m", L"ShowModalForm", L"&object ParentForm; &object ChildForm", L"", L"Выводит на экран модальную форму, пряча при этом родительскую форму. Родительская форма не исчезает, а уходит за границы экрана."},
    {"m", L"InArrayLong", L"&long[] ArrayX; long FindWhat; variant StartAt?; variant EndAt?; &bool IsFound?", L"long", L"Ищет элемент в массиве Long и возвращает индекс элемента или число на единицу меньше LBound."},
    {"m", L"IsInArrayLong", L"&long[] ArrayX; long FindWhat; variant StartAt?; variant EndAt?", L"bool", L"Возвращает True, если элемент найден в массиве Long."},
    {"m", L"InArrayString", L"&string[] ArrayX; string FindWhat; variant StartAt?; variant EndAt?; &bool IsFound?", L"long", L"Ищет элемент в массиве String и возвращает индекс элемента или число на единицу меньше LBound."},
    {"m", L"IsInArrayString", L"&string[] ArrayX; string FindWhat; variant StartAt?; variant EndAt?", L"bool", L"Возвращает True, если элемент найден в массиве String."},
    {"m", L"InArrayStringText", L"&string[] ArrayX; string FindWhat; variant StartAt?; variant EndAt?; &bool IsFound?", L"long", L"Ищет элемент в массиве String и возвращает индекс элемента или число на единицу меньше LBound."},
    {"m", L"IsInArrayStringText", L"&string[] ArrayX; string FindWhat; variant StartAt?; variant EndAt?", L"bool", L"Возвращает True, если элемент найден в массиве String."},
    {"m", L"InCollection", L"&coll Collection; variant FindWhat; variant StartAt?; variant EndAt?; &bool IsFound?", L"long", L"Ищет элемент в коллекции и возвращает индекс элемента или 0. Поиск по умолчанию начинается с 1."},
    {"m", L"IsInCollection", L"&coll Collection; variant FindWhat; variant StartAt?; variant EndAt?", L"bool", L"Возвращает True, если элемент найден в коллекции. Поиск по умолчанию начинается с 1."},
    {"m", L"InCollectionString", L"&coll Collection; variant FindWhat; variant StartAt?; variant EndAt?; &bool IsFound?", L"long", L" Ищет элемент в коллекции и возвращает индекс элемента или 0. Поиск по умолчанию начинается с 1."},
    {"m", L"IsInCollectionString", L"&coll Collection; variant FindWhat; variant StartAt?; variant EndAt?", L"bool", L"Возвращает True, если элемент найден в коллекции. Поиск по умолчанию начинается с 1."},
    {"m", L"InCollectionStringText", L"&coll Collection; variant FindWhat; variant StartAt?; variant EndAt?; &bool IsFound?", L"long", L" Ищет элемент в коллекции и возвращает индекс элемента или 0. Поиск по умолчанию начинается с 1."},
    {"m", L"IsInCollectionStringText", L"&coll Collection; variant FindWhat; variant StartAt?; variant EndAt?", L"bool", L"Возвращает True, если элемент найден в коллекции. Поиск по умолчанию начинается с 1."},
    {"m", L"GetSelectedOptionButtonIndex", L"&object OptionButtonArray", L"long", L"Возвращает индекс выбранного Option Button в массиве."},
    {"m", L"SetSelectedOptionButtonIndex", L"&object OptionButtonArray; long Index", L"", L"Выбирает Option Button с заданным индексом в массиве."},
    {"m", L"EnableOptionButtonGroup", L"&object OptionButtonArray", L"", nullptr},
    {"m", L"DisableOptionButtonGroup", L"&object OptionButtonArray", L"", nullptr},
    {"m", L"PressButton", L"&object Button", L"bool", L"Нажимает на кнопку, если она не заблокирована."},
    {"m", L"FixFonts", L"&object Frm", L"", L"Заменяет все возможные шрифты на наклонный Times New Roman."},
    {"m", L"FixCBCursors", L"&object Frm", L"", L"Заменяет курсор у комбобоксов со стилем 2 на палец как в MPC."},
    {"m", L"JoinCollection", L"&coll SourceCollection; string Delimiter; bool RaiseErrors=0", L"string", L"Как и Join() объединяет элементы в одной строке, разделяя их указанной строкой. Работает с коллекцией."},
    {"m", L"SplitCollection", L"string Expression; variant Delimiter?; long Limit=-1; compare Compare=0; bool RaiseErrors=0", L"coll", L"Как и Split() разбивает строку на элементы. Работает с коллекцией."},
};

const Member kOrxAlone[] = {
    {"m", L"IsAlone", L"string AppGUID", L"bool", L"Возвращает True, если программа с таким GUID уже загружена, иначе - False"},
    {"m", L"IsAloneOnDesktop", L"string AppGUID", L"bool", L"Возвращает True, если программа с таким GUID уже загружена на текущем рабочем столе, иначе - False"},
    {"m", L"IsAloneAtUser", L"string AppGUID", L"bool", L"Возвращает True, если программа с таким GUID уже загружена от текущего пользователя, иначе - False"},
    {"g", L"AppGUID", L"", L"string", L"Возвращает последний GUID"},
    {"g", L"WM_ACTIVATE_PREV_INSTANCE", L"", L"long", L"Возвращает номер зарегистрированного сообщения для активации через метод atViaMessage"},
    {"m", L"MarkPrevInstanceWindow", L"long hWnd; ActivationMethodConst ActivationMethod", L"bool", L"Помечает окно для активации, используя последний GUID"},
    {"m", L"UnMarkPrevInstanceWindow", L"long hWnd", L"bool", L"Снимает пометку с окна для активации, используя последний GUID"},
    {"mh", L"MarkPrevInstanceWindowEx", L"long hWnd; ActivationMethodConst ActivationMethod; string AppGUID", L"bool", L"Помечает окно для активации"},
    {"mh", L"UnMarkPrevInstanceWindowEx", L"long hWnd; string AppGUID", L"bool", L"Снимает пометку с окна для активации"},
    {"m", L"ActivatePrevInstanceWindow", L"", L"bool", L"Активирует помеченное окно предыдущего экземпляра программы, используя последний GUID"},
    {"mh", L"ActivatePrevInstanceWindowEx", L"string AppGUID", L"bool", L"Активирует помеченное окно предыдущего экземпляра программы"},
};

const Member kOrxBenchMark[] = {
    {"m", L"FirstMark", L"bool DoBeep=-1", L"", nullptr},
    {"m", L"LastMark", L"", L"", nullptr},
    {"m", L"GetTickDifferenceMS", L"", L"double", nullptr},
    {"m", L"GetTickDifferenceSec", L"", L"double", nullptr},
    {"m", L"toString", L"long Iterations?; bool IntegerValues=0; bool UseSeconds=-1", L"string", nullptr},
};

const Member kOrxSimpleListDialog[] = {
    {"g", L"Elements", L"", L"coll", nullptr},
    {"s", L"Elements", L"&coll", L"", nullptr},
    {"l", L"Elements", L"&coll", L"", nullptr},
    {"s", L"Font", L"font", L"", nullptr},
    {"l", L"Font", L"font", L"", nullptr},
    {"g", L"Font", L"", L"font", nullptr},
    {"l", L"ShowCountInCaption", L"bool", L"", nullptr},
    {"g", L"ShowCountInCaption", L"", L"bool", nullptr},
    {"l", L"Caption", L"string", L"", nullptr},
    {"g", L"Caption", L"", L"string", nullptr},
    {"m", L"Show", L"", L"", nullptr},
};

const Member kOrxBenchMarkHP[] = {
    {"m", L"FirstMark", L"bool DoBeep=-1", L"", nullptr},
    {"m", L"LastMark", L"", L"", nullptr},
    {"m", L"GetTickDifference", L"", L"double", nullptr},
    {"m", L"GetTickDifferenceMS", L"", L"double", nullptr},
    {"m", L"GetTickDifferenceSec", L"", L"double", nullptr},
    {"m", L"GetTickFrequencyPerSec", L"", L"double", nullptr},
    {"m", L"GetTickFrequencyPerMS", L"", L"double", nullptr},
    {"m", L"toString", L"long Iterations?; bool IntegerValues=0; bool UseSeconds=-1", L"string", nullptr},
};

const Member kOrxTextBoxDefButtonWatcher[] = {
    {"m", L"Init", L"object Global_CommandButton; object Local_CommandButton; object This_TextBox", L"", nullptr},
};

const Member kOrxTabControl[] = {
    {"g", L"CurrentTab", L"", L"long", nullptr},
    {"g", L"TabsCount", L"", L"long", nullptr},
    {"g", L"TabItem", L"long Index", L"object", nullptr},
    {"m", L"FillTabs", L"object vData; bool HideOtherTabs?", L"", L"Сюда передаётся обект, для которого Index не пустое, тоесть коллекция всех элементов массива контролов."},
    {"m", L"AddTab", L"object vData; bool HideOtherTabs?", L"", nullptr},
    {"m", L"ClearTabs", L"", L"", nullptr},
    {"m", L"PopTab", L"long Index=-1; bool PopOnlyThisTab?; bool HideOtherTabs?", L"", nullptr},
    {"m", L"PopPrevTab", L"bool PopOnlyThisTab?; bool HideOtherTabs?", L"", nullptr},
    {"m", L"PopNextTab", L"bool PopOnlyThisTab?; bool HideOtherTabs?", L"", nullptr},
    {"m", L"ArrangeTabs", L"bool HideOtherTabs?", L"", nullptr},
};

const Member kCommandLineParser[] = {
    {"g", L"Count", L"", L"long", nullptr},
    {"g0", L"Item", L"long Index", L"string", nullptr},
    {"m", L"SetNewCommandLine", L"string NewCommandLine; bool AddDummyEXEModuleName=-1", L"", nullptr},
};

const Member kOrxAutorunSupport[] = {
    {"g", L"ForCurrentUserOnly", L"", L"bool", nullptr},
    {"l", L"ForCurrentUserOnly", L"bool", L"", nullptr},
    {"m", L"IsInAutorun", L"string AppGUID", L"bool", nullptr},
    {"m", L"GetAutorunString", L"string AppGUID", L"string", nullptr},
    {"m", L"AddToAutorun", L"string AppGUID; string CommandLine?", L"bool", nullptr},
    {"m", L"DeleteFromAutorun", L"string AppGUID", L"bool", nullptr},
};

const Member kOrxClipboard[] = {
    {"m", L"Clear", L"", L"bool", L"Отчищает буфер обмена."},
    {"g", L"CF_HTML", L"", L"long", L"Код формата HTML."},
    {"m", L"SetHTML", L"string HTMLFragment; &string ContextHTMLStart=\"<HTML><BODY>\"; &string ContextHTMLEnd=\"</BODY></HTML>\"", L"bool", L"\"Копирует\" в буфер обмена HTML текст."},
    {"m", L"GetHTML", L"GetHTMLReturnValue ReturnValue=4", L"string", L"Получает из буфера обмена HTML текст."},
    {"m", L"SetText", L"string Text", L"bool", L"\"Копирует\" в буфер обмена текст. Добавляется также UNICODE формат."},
    {"m", L"GetText", L"bool ReturnANSIText=0", L"string", L"Получает текст из буфера обмена. По возможности используется UNICODE версия."},
    {"m", L"IsFormatAvailable", L"long ClipboardFormat", L"bool", L"Возвращает True, если заданный формат присутствует в буфере обмена."},
    {"m", L"SetRAWData", L"long FormatID; &byte[] Data", L"bool", L"\"Копирует\" в буфер обмена любые данные в заданном формате. Данные не проверяются и передаются как есть."},
    {"m", L"GetRAWData", L"long FormatID; &byte[] Data; &long lpDataSize?", L"bool", L"Получает из буфера обмена данные в любом заданном формате. Данные не проверяются и возвращаются как есть."},
    {"m", L"GetFormatName", L"long FormatID", L"string", L"Возвращает имя формата или пустую строку, если формат не зарегистрирован или является встроенным (вроде CF_TEXT)."},
    {"m", L"GetFormatsCount", L"", L"long", L"Возвращает количество форматов, находящихся в буфере обмена."},
    {"m", L"GetFormats", L"", L"coll", L"Возвращает список кодов форматов, находящихся в буфере обмена."},
    {"m", L"SetShellFiles", L"&coll FileNames; bool Unicode=-1", L"bool", L"\"Копирует\" файлы в буфер обмена. Имена файлов не проверяются."},
    {"m", L"GetShellFiles", L"", L"coll", L"Получает из буфера обмена список скопированных файлов."},
};

#define BK_ERROR_DISPLAY_TAIL L"style Style=16; string Title?; &string DescriptionText?; &bool Silent=0"
const Member kOrxErr[] = {
    {"m", L"ErrorDisplay", L"&err ErrObject; " BK_ERROR_DISPLAY_TAIL, L"answer", nullptr},
    {"m", L"GetErrorMessage", L"&err ErrObject", L"string", nullptr},
    {"m", L"GetShortErrorMessage", L"&err ErrObject", L"string", nullptr},
    {"m", L"ErrorDisplayAPI", L"long ErrorNumber; " BK_ERROR_DISPLAY_TAIL, L"answer", nullptr},
    {"m", L"GetErrorMessageAPI", L"long ErrorNumber", L"string", nullptr},
    {"m", L"GetShortErrorMessageAPI", L"long ErrorNumber", L"string", nullptr},
    {"m", L"ErrorDisplayWinMM", L"long ErrorNumber; " BK_ERROR_DISPLAY_TAIL, L"answer", nullptr},
    {"m", L"GetErrorMessageWinMM", L"long ErrorNumber", L"string", nullptr},
    {"m", L"GetShortErrorMessageWinMM", L"long ErrorNumber", L"string", nullptr},
    {"m", L"ErrorDisplayModule", L"long ErrorNumber; string ModuleName; " BK_ERROR_DISPLAY_TAIL, L"answer", nullptr},
    {"m", L"GetErrorMessageModule", L"long ErrorNumber; string ModuleName", L"string", nullptr},
    {"m", L"GetShortErrorMessageModule", L"long ErrorNumber; string ModuleName", L"string", nullptr},
    {"m", L"ErrorDisplayHTTPRequest", L"object HTTPRequestObject; " BK_ERROR_DISPLAY_TAIL, L"answer", nullptr},
    {"m", L"GetErrorMessageHTTPRequest", L"object HTTPRequestObject", L"string", nullptr},
    {"m", L"ErrorDisplayFTPClient", L"object FTPClientObject; " BK_ERROR_DISPLAY_TAIL, L"answer", nullptr},
    {"m", L"GetErrorMessageFTPClient", L"object FTPClientObject", L"string", nullptr},
    {"m", L"ErrorDisplayHTTPRequestHT", L"object HTTPRequestObject; " BK_ERROR_DISPLAY_TAIL, L"answer", nullptr},
    {"m", L"GetErrorMessageHTTPRequestHT", L"object HTTPRequestObject", L"string", nullptr},
    {"m", L"ShowErrorBox", L"string Text; style Style=16; variant Title?; long DefaultButtonIndex=-1; long CancelButtonIndex=-1; long TimeoutValue=15", L"answer", nullptr},
};
#undef BK_ERROR_DISPLAY_TAIL

const Member kOrxMultiMonitor[] = {
    {"m", L"GetAllMonitors", L"", L"coll", L"Перечисляет все мониторы в системе и возвращает коллекцию объектов."},
    {"m", L"MonitorFromWindow", L"long hWnd; MonitorFromFlags Flags", L"_Monitor", L"Возвращает объект монитора по окну."},
    {"m", L"MonitorFromPoint", L"long X; long Y; MonitorFromFlags Flags", L"_Monitor", L"Возвращает объект монитора по точке."},
    {"m", L"MonitorFromRect", L"long Left; long Top; long Right; long Bottom; MonitorFromFlags Flags", L"_Monitor", L"Возвращает объект монитора по ограничивающему прямоугольнику."},
    {"m", L"MonitorFromNewRect", L"long Left; long Top; long Width; long Height; MonitorFromFlags Flags", L"_Monitor", L"Возвращает объект монитора по ограничивающему прямоугольнику."},
};

#define BK_SCREEN L"Возвращает размеры экрана монитора в пикселях."
#define BK_WORK_AREA L"Возвращает размеры рабочей области в пикселях."
const Member kMonitor[] = {
    {"g", L"Primary", L"", L"bool", L"Возвращает True, если монитор - основной."},
    {"g", L"Flags", L"", L"long", L"Возвращает флаги."},
    {"g", L"DeviceName", L"", L"string", L"Возвращает имя устройства, которое можно использовать в CreateDC() для создания контекста устройства конкретного монитора."},
    {"g", L"MonitorLeft", L"", L"long", BK_SCREEN},
    {"g", L"MonitorTop", L"", L"long", BK_SCREEN},
    {"g", L"MonitorWidth", L"", L"long", BK_SCREEN},
    {"g", L"MonitorHeight", L"", L"long", BK_SCREEN},
    {"g", L"MonitorRight", L"", L"long", BK_SCREEN},
    {"g", L"MonitorBottom", L"", L"long", BK_SCREEN},
    {"g", L"WorkAreaLeft", L"", L"long", BK_WORK_AREA},
    {"g", L"WorkAreaTop", L"", L"long", BK_WORK_AREA},
    {"g", L"WorkAreaWidth", L"", L"long", BK_WORK_AREA},
    {"g", L"WorkAreaHeight", L"", L"long", BK_WORK_AREA},
    {"g", L"WorkAreaRight", L"", L"long", BK_WORK_AREA},
    {"g", L"WorkAreaBottom", L"", L"long", BK_WORK_AREA},
};
#undef BK_SCREEN
#undef BK_WORK_AREA

enum class Instancing { Global, Creatable, NotCreatable };

struct Class {
    const wchar_t* name;
    const wchar_t* clsid;
    const wchar_t* itf;
    const wchar_t* iid;
    Instancing instancing;
    const wchar_t* help;  // nullptr: none given
    std::span<const Member> members;
};

using enum Instancing;
const Class kClasses[] = {
    {L"orxMain", L"{02AB4771-2708-4035-AB3E-6EB407D577A2}", L"_orxMain", L"{3FF685D5-02B0-47EC-823F-6608F3F4025D}", Global, L"Класс разных глобальных функций", kOrxMain},
    {L"orxAlone", L"{4E6099CC-9B14-4F86-9B90-4E49E8E2F5C0}", L"_orxAlone", L"{2DAE7793-198A-4EC4-BAB4-EDC6C5C85E51}", Creatable, L"Класс проверки уникальности программы в памяти", kOrxAlone},
    {L"orxBenchMark", L"{05D9D5FD-5849-4468-8C39-D459E1881CD7}", L"_orxBenchMark", L"{5EF29C31-4AE1-4CCD-BD1F-0000DD611B2F}", Creatable, nullptr, kOrxBenchMark},
    {L"orxSimpleListDialog", L"{CDA1FA74-11DD-4B37-9B00-2742E125B71B}", L"_orxSimpleListDialog", L"{D7E2BBDF-AD3B-4DF1-AAA0-F507F660F544}", Creatable, nullptr, kOrxSimpleListDialog},
    {L"orxBenchMarkHP", L"{9B0683DE-A185-4F82-B054-2D8D48331DFD}", L"_orxBenchMarkHP", L"{48E02D60-52DE-4755-993A-11C7886DC7B8}", Creatable, nullptr, kOrxBenchMarkHP},
    {L"orxTextBoxDefButtonWatcher", L"{5EC6ED20-9614-478F-B779-C21DB597447D}", L"_orxTextBoxDefButtonWatcher", L"{E979C9C9-EB3A-4EB2-B0BF-44505F58C261}", Creatable, nullptr, kOrxTextBoxDefButtonWatcher},
    {L"orxTabControl", L"{B793FAA6-6A98-4D3D-B414-7CB25584CEFB}", L"_orxTabControl", L"{2029D6E0-D4EB-40AF-88D0-5E30A9A52251}", Creatable, nullptr, kOrxTabControl},
    {L"CommandLineParser", L"{77D70983-9962-4BA7-A1AD-A4B4A8561D3F}", L"_CommandLineParser", L"{CEA38291-7BA7-4D23-AA41-4590B9DF289F}", NotCreatable, nullptr, kCommandLineParser},
    {L"orxAutorunSupport", L"{EF8E652B-C015-4E5E-8E75-F1AD946B1964}", L"_orxAutorunSupport", L"{527B13CD-63A5-4441-9A93-16CD7278DF2C}", Global, nullptr, kOrxAutorunSupport},
    {L"orxClipboard", L"{556CDC1D-6671-4F1B-ACF5-905B30880DAA}", L"_orxClipboard", L"{A05FDCE6-B0AF-4AF9-AA04-323E62DB6E30}", Global, nullptr, kOrxClipboard},
    {L"orxErr", L"{73704F48-984E-4EF3-8B77-AFA75B11510E}", L"_orxErr", L"{9DDA533A-0B63-4A52-8220-4403A3A0BF2E}", Global, nullptr, kOrxErr},
    {L"orxMultiMonitor", L"{0F912F08-816C-4EC8-9B7A-0BC4FD78F154}", L"_orxMultiMonitor", L"{A919595E-B6CB-4DDA-8046-7827055BC7A6}", Creatable, L"Класс информации о мониторах.", kOrxMultiMonitor},
    {L"Monitor", L"{F6D2301D-6BDD-4756-BA1F-7BA592D02918}", L"_Monitor", L"{5667D27E-9A4D-4043-84FB-ECAF5E141861}", NotCreatable, L"Класс информации о конкретном мониторе.", kMonitor},
};

struct Enumeration {
    const wchar_t* name;
    std::vector<std::pair<std::wstring, LONG>> members;  // in declaration order
};

const Enumeration kEnumerations[] = {
    {L"ActivationMethodConst", {{L"amNormal", 69}, {L"amViaMessage", 70}, {L"amNormalWithMinimizeToTrayHook", 71}}},
    {L"GetHTMLReturnValue", {{L"ghrvRaw", 0}, {L"ghrvHTML", 1}, {L"ghrvContextStart", 2}, {L"ghrvContextEnd", 3},
                             {L"ghrvFragment", 4}, {L"ghrvSelection", 5}, {L"ghrvSourceURL", 6}}},
    {L"MonitorFromFlags", {{L"mffDefaultToNearest", 2}, {L"mffDefaultToNull", 0}, {L"mffDefaultToPrimary", 1}}},
    {L"VbCompareMethod", {{L"vbBinaryCompare", 0}, {L"vbTextCompare", 1}, {L"vbDatabaseCompare", 2}}},
};

constexpr wchar_t kLibraryHelp[] = L"Orvex - Библиотека общих функций 3.08";

GUID Guid(const wchar_t* text) {
    GUID g{};
    EXPECT_EQ(S_OK, CLSIDFromString(text, &g)) << text;
    return g;
}

std::wstring GuidText(const GUID& g) {
    wchar_t text[40] = {};
    StringFromGUID2(g, text, 40);
    return text;
}

// A text as a reader with the current ANSI code page sees it when it was stored as
// Windows-1251 bytes: the text itself under code page 1251.
std::wstring AsReadUnderAcp(std::wstring_view text) {
    BOOL lossy = FALSE;
    const int n = WideCharToMultiByte(1251, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0, nullptr, &lossy);
    std::string bytes(n, '\0');
    WideCharToMultiByte(1251, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()), bytes.data(), n,
                        nullptr, &lossy);
    EXPECT_FALSE(lossy) << "not representable in Windows-1251";
    const int m = MultiByteToWideChar(CP_ACP, 0, bytes.data(), n, nullptr, 0);
    std::wstring out(m, L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), n, out.data(), m);
    return out;
}

std::wstring Decode(UINT codePage, const std::string& bytes) {
    const int n = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring out(n, L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
    return out;
}

// Owners for the descriptions a type info hands out.
struct TypeAttr {
    ITypeInfo* ti;
    TYPEATTR* a = nullptr;
    explicit TypeAttr(ITypeInfo* t) : ti(t) { EXPECT_EQ(S_OK, ti->GetTypeAttr(&a)); }
    ~TypeAttr() { if (a) ti->ReleaseTypeAttr(a); }
    TypeAttr(const TypeAttr&) = delete;
    TypeAttr& operator=(const TypeAttr&) = delete;
    const TYPEATTR* operator->() const { return a; }
};
struct FuncDesc {
    ITypeInfo* ti;
    FUNCDESC* f = nullptr;
    FuncDesc(ITypeInfo* t, UINT index) : ti(t) { EXPECT_EQ(S_OK, ti->GetFuncDesc(index, &f)); }
    ~FuncDesc() { if (f) ti->ReleaseFuncDesc(f); }
    FuncDesc(const FuncDesc&) = delete;
    FuncDesc& operator=(const FuncDesc&) = delete;
    const FUNCDESC* operator->() const { return f; }
};
struct VarDesc {
    ITypeInfo* ti;
    VARDESC* v = nullptr;
    VarDesc(ITypeInfo* t, UINT index) : ti(t) { EXPECT_EQ(S_OK, ti->GetVarDesc(index, &v)); }
    ~VarDesc() { if (v) ti->ReleaseVarDesc(v); }
    VarDesc(const VarDesc&) = delete;
    VarDesc& operator=(const VarDesc&) = delete;
    const VARDESC* operator->() const { return v; }
};

std::wstring NameOf(ITypeInfo* ti, MEMBERID id = MEMBERID_NIL) {
    Bstr name;
    ti->GetDocumentation(id, name.put(), nullptr, nullptr, nullptr);
    return name.str();
}
std::wstring HelpOf(ITypeInfo* ti, MEMBERID id = MEMBERID_NIL) {
    Bstr help;
    ti->GetDocumentation(id, nullptr, help.put(), nullptr, nullptr);
    return help.str();
}

// The name the notation uses for a referenced type: the automation types by their
// identifiers (so that a wrong identifier shows), the rest by name.
std::wstring ReferencedType(ITypeInfo* ti, HREFTYPE ref, TYPEKIND* kind) {
    ComPtr<ITypeInfo> target;
    if (FAILED(ti->GetRefTypeInfo(ref, target.put()))) return L"<unresolved>";
    const std::wstring name = NameOf(target.get());
    GUID guid = GUID_NULL;
    // An alias (IPictureDisp, IFontDisp) stands for the type it names.
    for (int depth = 0; depth < 4 && target; ++depth) {
        TypeAttr attr(target.get());
        *kind = attr->typekind;
        guid = attr->guid;
        if (attr->typekind != TKIND_ALIAS || attr->tdescAlias.vt != VT_USERDEFINED) break;
        ComPtr<ITypeInfo> next;
        if (FAILED(target->GetRefTypeInfo(attr->tdescAlias.hreftype, next.put()))) break;
        target = next;
    }
    static const std::map<std::wstring, std::wstring> known = {
        {L"{A4C46780-499F-101B-BB78-00AA00383CBB}", L"coll"},
        {L"{A4C466B8-499F-101B-BB78-00AA00383CBB}", L"err"},
        {L"{7BF80981-BF32-101A-8BBB-00AA00300CAB}", L"pic"},
        {L"{BEF6E003-A874-101A-8BBA-00AA00300CAB}", L"font"},
    };
    if (auto it = known.find(GuidText(guid)); it != known.end()) return it->second;
    static const std::map<std::wstring, std::wstring> enums = {
        {L"VbMsgBoxStyle", L"style"}, {L"VbMsgBoxResult", L"answer"}, {L"VbCompareMethod", L"compare"}};
    if (auto it = enums.find(name); it != enums.end() && *kind == TKIND_ENUM) return it->second;
    if (name == L"_Collection" || name == L"ErrObject" || name == L"IPictureDisp" || name == L"IFontDisp")
        return name + GuidText(guid);  // the right name with a wrong identifier
    return name;
}

std::wstring TypeText(ITypeInfo* ti, const TYPEDESC& t) {
    switch (t.vt) {
    case VT_BSTR: return L"string";
    case VT_BOOL: return L"bool";
    case VT_I2: return L"short";
    case VT_I4: return L"long";
    case VT_R8: return L"double";
    case VT_UI1: return L"byte";
    case VT_VARIANT: return L"variant";
    case VT_DISPATCH: return L"object";
    case VT_UNKNOWN: return L"unknown";
    case VT_SAFEARRAY: return TypeText(ti, *t.lptdesc) + L"[]";
    case VT_USERDEFINED: {
        TYPEKIND kind;
        return ReferencedType(ti, t.hreftype, &kind);
    }
    case VT_PTR: {
        const TYPEDESC& inner = *t.lptdesc;
        if (inner.vt == VT_USERDEFINED) {  // a pointer to an interface is an object by value
            TYPEKIND kind = TKIND_MAX;
            std::wstring name = ReferencedType(ti, inner.hreftype, &kind);
            if (kind == TKIND_INTERFACE || kind == TKIND_DISPATCH || kind == TKIND_ALIAS) return name;
        }
        return L"&" + TypeText(ti, inner);
    }
    default: return L"vt" + std::to_wstring(t.vt);
    }
}

std::wstring DefaultText(const VARIANT& value) {
    Variant v;
    if (V_VT(&value) == VT_BSTR) return L"\"" + Text(value) + L"\"";
    if (FAILED(VariantChangeType(v.get(), const_cast<VARIANT*>(&value), 0, VT_I4))) return L"<vt" + std::to_wstring(V_VT(&value)) + L">";
    return std::to_wstring(V_I4(v.get()));
}

struct ExpectedParam {
    bool hasName = false;
    bool hasDefault = false;
};

std::vector<ExpectedParam> ParseParams(std::wstring_view text) {
    std::vector<ExpectedParam> out;
    while (!text.empty()) {
        const size_t end = std::min(text.find(L"; "), text.size());
        const std::wstring_view p = text.substr(0, end);
        const size_t nameStart = p.find(L' ');
        out.push_back({nameStart != std::wstring_view::npos, p.find(L'=') != std::wstring_view::npos});
        text.remove_prefix(std::min(end + 2, text.size()));
    }
    return out;
}

// The parameters of a function in the notation above. Names and defaults are written only
// where the expected text has them.
std::wstring ParamsText(ITypeInfo* ti, const FUNCDESC* fd, const std::vector<std::wstring>& names,
                        const std::vector<ExpectedParam>& expected) {
    std::wstring out;
    for (SHORT i = 0; i < fd->cParams; ++i) {
        const ELEMDESC& e = fd->lprgelemdescParam[i];
        const USHORT flags = e.paramdesc.wParamFlags;
        if (flags & PARAMFLAG_FRETVAL) break;
        const ExpectedParam want = static_cast<size_t>(i) < expected.size() ? expected[i] : ExpectedParam{true, false};
        if (!out.empty()) out += L"; ";
        out += TypeText(ti, e.tdesc);
        if (want.hasName) out += L" " + (static_cast<size_t>(i + 1) < names.size() ? names[i + 1] : L"<unnamed>");
        const bool last = i + 1 == fd->cParams || (fd->lprgelemdescParam[i + 1].paramdesc.wParamFlags & PARAMFLAG_FRETVAL);
        if (fd->cParamsOpt == -1 && last) {
            out += L"...";
        } else if (want.hasDefault && (flags & PARAMFLAG_FHASDEFAULT) && e.paramdesc.pparamdescex) {
            out += L"=" + DefaultText(e.paramdesc.pparamdescex->varDefaultValue);
        } else if (flags & PARAMFLAG_FOPT) {
            out += L"?";
        }
    }
    return out;
}

std::wstring ResultText(ITypeInfo* ti, const FUNCDESC* fd) {
    if (fd->cParams == 0) return L"";
    const ELEMDESC& e = fd->lprgelemdescParam[fd->cParams - 1];
    if (!(e.paramdesc.wParamFlags & PARAMFLAG_FRETVAL)) return L"";
    if (e.tdesc.vt != VT_PTR) return L"<retval not a pointer>";
    return TypeText(ti, *e.tdesc.lptdesc);
}

INVOKEKIND KindOf(const Member& m) {
    switch (m.kind[0]) {
    case 'g': return INVOKE_PROPERTYGET;
    case 'l': return INVOKE_PROPERTYPUT;
    case 's': return INVOKE_PROPERTYPUTREF;
    default: return INVOKE_FUNC;
    }
}
bool Has(const Member& m, char flag) { return std::strchr(m.kind + 1, flag) != nullptr; }

class TypeLibrary : public testing::Test {
protected:
    static void SetUpTestSuite() {
        // The library hands out its own type library: loading the DLL file by path does not
        // reach the TYPELIB resource under every host.
        auto main = Create<_orxMain>(CLSID_orxMain);
        ASSERT_TRUE(main);
        ComPtr<ITypeInfo> ti;
        ASSERT_EQ(S_OK, main->GetTypeInfo(0, LOCALE_USER_DEFAULT, ti.put()));
        UINT index = 0;
        ASSERT_EQ(S_OK, ti->GetContainingTypeLib(lib_.put(), &index));
    }
    static void TearDownTestSuite() { lib_.reset(); }

    static ComPtr<ITypeInfo> TypeOf(const wchar_t* guid) {
        ComPtr<ITypeInfo> ti;
        EXPECT_EQ(S_OK, lib_->GetTypeInfoOfGuid(Guid(guid), ti.put())) << guid;
        return ti;
    }
    // The custom-interface half of a dual interface: the vtable view with the slot offsets.
    static ComPtr<ITypeInfo> VtableView(ITypeInfo* ti) {
        if (TypeAttr(ti)->typekind == TKIND_INTERFACE) return ComPtr<ITypeInfo>::Share(ti);
        HREFTYPE ref = 0;
        ComPtr<ITypeInfo> view;
        EXPECT_EQ(S_OK, ti->GetRefTypeOfImplType(static_cast<UINT>(-1), &ref));
        EXPECT_EQ(S_OK, ti->GetRefTypeInfo(ref, view.put()));
        return view;
    }
    static ComPtr<ITypeInfo> TypeNamed(const wchar_t* name) {
        for (UINT i = 0; i < lib_->GetTypeInfoCount(); ++i) {
            ComPtr<ITypeInfo> ti;
            if (SUCCEEDED(lib_->GetTypeInfo(i, ti.put())) && NameOf(ti.get()) == name) return ti;
        }
        return {};
    }

    static inline ComPtr<ITypeLib> lib_;
};

TEST_F(TypeLibrary, LibraryAttributes) {
    TLIBATTR* attr = nullptr;
    ASSERT_EQ(S_OK, lib_->GetLibAttr(&attr));
    EXPECT_EQ(L"{8A2F0110-4E81-4EE5-80F5-60D3A8305250}", GuidText(attr->guid));
    EXPECT_EQ(1, attr->wMajorVerNum);
    EXPECT_EQ(0, attr->wMinorVerNum);
    EXPECT_EQ(0x0409u, attr->lcid);
    EXPECT_EQ(sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32, attr->syskind);
    lib_->ReleaseTLibAttr(attr);

    Bstr name, help;
    ASSERT_EQ(S_OK, lib_->GetDocumentation(-1, name.put(), help.put(), nullptr, nullptr));
    EXPECT_EQ(L"Basekit0308", name.str());
    EXPECT_EQ(AsReadUnderAcp(kLibraryHelp), help.str());
}

TEST_F(TypeLibrary, ThirteenClassesWithIdentifiersInstancingAndDefaultInterfaces) {
    int coclasses = 0;
    for (UINT i = 0; i < lib_->GetTypeInfoCount(); ++i) {
        TYPEKIND kind;
        if (SUCCEEDED(lib_->GetTypeInfoType(i, &kind)) && kind == TKIND_COCLASS) ++coclasses;
    }
    EXPECT_EQ(13, coclasses);

    for (const Class& c : kClasses) {
        SCOPED_TRACE(testing::Message() << "class " << c.name);
        auto ti = TypeOf(c.clsid);
        ASSERT_TRUE(ti);
        EXPECT_EQ(c.name, NameOf(ti.get()));
        if (c.help) { EXPECT_EQ(AsReadUnderAcp(c.help), HelpOf(ti.get())); }
        TypeAttr attr(ti.get());
        EXPECT_EQ(TKIND_COCLASS, attr->typekind);
        const WORD global = TYPEFLAG_FAPPOBJECT | TYPEFLAG_FPREDECLID | TYPEFLAG_FCANCREATE;
        const WORD expected = c.instancing == Global ? global : c.instancing == Creatable ? TYPEFLAG_FCANCREATE : 0;
        EXPECT_EQ(expected, attr->wTypeFlags & global) << std::hex << attr->wTypeFlags;

        // The default interface, and for the tab control the default event interface.
        const WORD impls = c.name == std::wstring_view(L"orxTabControl") ? 2 : 1;
        ASSERT_EQ(impls, attr->cImplTypes);
        for (UINT j = 0; j < impls; ++j) {
            INT flags = 0;
            HREFTYPE ref = 0;
            ComPtr<ITypeInfo> itf;
            ASSERT_EQ(S_OK, ti->GetImplTypeFlags(j, &flags));
            ASSERT_EQ(S_OK, ti->GetRefTypeOfImplType(j, &ref));
            ASSERT_EQ(S_OK, ti->GetRefTypeInfo(ref, itf.put()));
            const bool source = j == 1;
            EXPECT_EQ(source ? IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE : IMPLTYPEFLAG_FDEFAULT, flags);
            EXPECT_EQ(source ? L"__orxTabControl" : c.itf, NameOf(itf.get()));
            EXPECT_EQ(source ? L"{05CB19DA-914A-4269-9224-61DE72FF1841}" : c.iid, GuidText(TypeAttr(itf.get())->guid));
        }
    }
}

TEST_F(TypeLibrary, DefaultInterfacesAreDualAndDeriveFromIDispatch) {
    for (const Class& c : kClasses) {
        SCOPED_TRACE(testing::Message() << "interface " << c.itf);
        auto ti = TypeOf(c.iid);
        ASSERT_TRUE(ti);
        EXPECT_EQ(c.itf, NameOf(ti.get()));
        // The dispatch half carries hidden and not extensible, the vtable half automation
        // compatibility; both are marked dual.
        const WORD flags = TYPEFLAG_FDUAL | TYPEFLAG_FHIDDEN | TYPEFLAG_FNONEXTENSIBLE | TYPEFLAG_FOLEAUTOMATION;
        const WORD dispatchFlags = TypeAttr(ti.get())->wTypeFlags;
        EXPECT_EQ(TKIND_DISPATCH, TypeAttr(ti.get())->typekind);

        auto vt = VtableView(ti.get());
        ASSERT_TRUE(vt);
        TypeAttr attr(vt.get());
        EXPECT_EQ(TKIND_INTERFACE, attr->typekind);
        EXPECT_EQ(flags, (dispatchFlags | attr->wTypeFlags) & flags) << std::hex << dispatchFlags << " " << attr->wTypeFlags;
        EXPECT_TRUE(attr->wTypeFlags & TYPEFLAG_FDUAL);
        EXPECT_TRUE(attr->wTypeFlags & TYPEFLAG_FOLEAUTOMATION);
        EXPECT_EQ(c.members.size(), attr->cFuncs);
        EXPECT_EQ((7 + c.members.size()) * sizeof(void*), attr->cbSizeVft);
        ASSERT_EQ(1, attr->cImplTypes);
        HREFTYPE ref = 0;
        ComPtr<ITypeInfo> base;
        ASSERT_EQ(S_OK, vt->GetRefTypeOfImplType(0, &ref));
        ASSERT_EQ(S_OK, vt->GetRefTypeInfo(ref, base.put()));
        EXPECT_EQ(L"IDispatch", NameOf(base.get()));
        EXPECT_EQ(IID_IDispatch, TypeAttr(base.get())->guid);
    }
}

// Every member in slot order: a member out of place fails with its slot number.
TEST_F(TypeLibrary, MembersInSlotOrder) {
    for (const Class& c : kClasses) {
        auto vt = VtableView(TypeOf(c.iid).get());
        ASSERT_TRUE(vt);
        std::map<std::wstring, MEMBERID> idsByName;
        std::map<MEMBERID, std::wstring> namesById;
        for (size_t k = 0; k < c.members.size(); ++k) {
            const Member& m = c.members[k];
            SCOPED_TRACE(testing::Message() << c.itf << " slot " << k + 1 << " (" << m.name << ")");
            FuncDesc fd(vt.get(), static_cast<UINT>(k));
            ASSERT_TRUE(fd.f);
            BSTR raw[32] = {};
            UINT count = 0;
            vt->GetNames(fd->memid, raw, 32, &count);
            std::vector<std::wstring> names;
            for (UINT i = 0; i < count; ++i) names.push_back(Bstr::Attach(raw[i]).str());

            ASSERT_FALSE(names.empty());
            EXPECT_EQ(m.name, names[0]);
            EXPECT_EQ(KindOf(m), fd->invkind);
            EXPECT_EQ(static_cast<SHORT>((7 + k) * sizeof(void*)), fd->oVft);
            EXPECT_EQ(FUNC_PUREVIRTUAL, fd->funckind);
            EXPECT_EQ(CC_STDCALL, fd->callconv);
            EXPECT_EQ(VT_HRESULT, fd->elemdescFunc.tdesc.vt);
            EXPECT_EQ(m.params, ParamsText(vt.get(), fd.f, names, ParseParams(m.params)));
            EXPECT_EQ(m.result, ResultText(vt.get(), fd.f));
            EXPECT_EQ(Has(m, 'h'), (fd->wFuncFlags & FUNCFLAG_FHIDDEN) != 0);
            EXPECT_EQ(Has(m, '0'), fd->memid == DISPID_VALUE);
            if (m.help) { EXPECT_EQ(AsReadUnderAcp(m.help), HelpOf(vt.get(), fd->memid)); }

            // Property members of one name share one dispatch id; different names never do.
            auto [byName, newName] = idsByName.emplace(m.name, fd->memid);
            EXPECT_EQ(byName->second, fd->memid) << "dispatch id differs from the member's other accessors";
            auto [byId, newId] = namesById.emplace(fd->memid, m.name);
            EXPECT_EQ(byId->second, m.name) << "dispatch id " << std::hex << fd->memid << " already used";
        }
    }
}

TEST_F(TypeLibrary, ParameterArrayMembers) {
    auto vt = VtableView(TypeOf(kClasses[0].iid).get());
    std::vector<std::wstring> vararg;
    for (UINT k = 0; k < kClasses[0].members.size(); ++k) {
        FuncDesc fd(vt.get(), k);
        if (fd->cParamsOpt == -1) vararg.push_back(NameOf(vt.get(), fd->memid));
    }
    EXPECT_EQ((std::vector<std::wstring>{L"ArrayString", L"ArrayLong", L"Collection"}), vararg);
}

// SetHTML's context strings (types and defaults are checked with the members): in-out optional
// parameters with defaults, which widl writes by value and the build turns back into BSTR*.
TEST_F(TypeLibrary, SetHTMLContextStringsAreInOutWithDefaults) {
    auto vt = VtableView(TypeOf(L"{A05FDCE6-B0AF-4AF9-AA04-323E62DB6E30}").get());
    FuncDesc fd(vt.get(), 2);
    ASSERT_TRUE(fd.f);
    ASSERT_EQ(L"SetHTML", NameOf(vt.get(), fd->memid));
    ASSERT_EQ(4, fd->cParams);
    EXPECT_EQ(2, fd->cParamsOpt);
    for (SHORT i : {1, 2}) {
        EXPECT_EQ(PARAMFLAG_FIN | PARAMFLAG_FOUT | PARAMFLAG_FOPT | PARAMFLAG_FHASDEFAULT,
                  fd->lprgelemdescParam[i].paramdesc.wParamFlags) << "parameter " << i;
    }
}

TEST_F(TypeLibrary, TabControlEventInterface) {
    auto ti = TypeOf(L"{05CB19DA-914A-4269-9224-61DE72FF1841}");
    ASSERT_TRUE(ti);
    EXPECT_EQ(L"__orxTabControl", NameOf(ti.get()));
    TypeAttr attr(ti.get());
    EXPECT_EQ(TKIND_DISPATCH, attr->typekind);
    EXPECT_EQ(0, attr->wTypeFlags & TYPEFLAG_FDUAL);  // dispatch only
    ASSERT_EQ(1, attr->cFuncs);
    FuncDesc fd(ti.get(), 0);
    EXPECT_EQ(1, fd->memid);
    EXPECT_EQ(INVOKE_FUNC, fd->invkind);
    EXPECT_EQ(L"TabShown", NameOf(ti.get(), fd->memid));
    ASSERT_EQ(1, fd->cParams);
    EXPECT_EQ(VT_I4, fd->lprgelemdescParam[0].tdesc.vt);
    BSTR raw[2] = {};
    UINT count = 0;
    ti->GetNames(1, raw, 2, &count);
    ASSERT_EQ(2u, count);
    Bstr function = Bstr::Attach(raw[0]), param = Bstr::Attach(raw[1]);
    EXPECT_EQ(L"CurrTab", param.str());
}

TEST_F(TypeLibrary, EnumerationsInDeclarationOrder) {
    for (const Enumeration& e : kEnumerations) {
        SCOPED_TRACE(testing::Message() << "enumeration " << e.name);
        auto ti = TypeNamed(e.name);
        ASSERT_TRUE(ti);
        TypeAttr attr(ti.get());
        EXPECT_EQ(TKIND_ENUM, attr->typekind);
        std::vector<std::pair<std::wstring, LONG>> members;
        for (UINT i = 0; i < attr->cVars; ++i) {
            VarDesc vd(ti.get(), i);
            Variant value;
            VariantChangeType(value.get(), vd->lpvarValue, 0, VT_I4);
            members.emplace_back(NameOf(ti.get(), vd->memid), V_I4(value.get()));
        }
        EXPECT_EQ(e.members, members);
    }
}

// ---- Help strings as stored: Windows-1251 bytes, whatever the reader's code page.

// The stored bytes of the library's and the types' help strings in the embedded type
// library (MSFT layout: header, type-info offsets, segment directory, segments).
class StoredHelpStrings {
public:
    explicit StoredHelpStrings(std::span<const BYTE> data) : d_(data) {
        const int32_t flags = Int(0x14), count = Int(0x20);
        const size_t offsets = 0x54 + ((flags & 0x100) ? 4 : 0);
        const size_t segments = offsets + 4 * static_cast<size_t>(count);
        typeInfos_ = Int(segments);
        names_ = Int(segments + 16 * 7);
        strings_ = Int(segments + 16 * 8);
        for (int32_t i = 0; i < count; ++i) types_.push_back(Int(offsets + 4 * i));
        library_ = Int(0x24);
    }
    bool valid() const { return d_.size() > 0x54 && Int(0) == 0x5446534D; }
    std::string Library() const { return String(library_); }
    std::string Type(std::string_view name) const {
        for (int32_t offset : types_) {
            const size_t base = typeInfos_ + offset;
            const size_t entry = names_ + Int(base + 0x34);
            const size_t length = Int(entry + 8) & 0xFF;
            if (entry + 12 + length <= d_.size() &&
                std::string_view(reinterpret_cast<const char*>(&d_[entry + 12]), length) == name)
                return String(Int(base + 0x3C));
        }
        return "<no type " + std::string(name) + ">";
    }

private:
    int32_t Int(size_t at) const {
        int32_t v = 0;
        if (at + 4 <= d_.size()) std::memcpy(&v, &d_[at], 4);
        return v;
    }
    std::string String(int32_t offset) const {
        if (offset < 0) return {};
        const size_t at = strings_ + offset;
        if (at + 2 > d_.size()) return "<bad offset>";
        uint16_t length = 0;
        std::memcpy(&length, &d_[at], 2);
        if (at + 2 + length > d_.size()) return "<bad length>";
        return std::string(reinterpret_cast<const char*>(&d_[at + 2]), length);
    }

    std::span<const BYTE> d_;
    size_t typeInfos_ = 0, names_ = 0, strings_ = 0;
    int32_t library_ = -1;
    std::vector<int32_t> types_;
};

// Run once with the process's ANSI code page as it comes and once under a Russian locale
// (a second test entry sets BK_EXPECT_ACP=1251 and the locale): the stored bytes decode to
// the Russian texts either way, and under code page 1251 the type library API reads them
// back unchanged.
TEST_F(TypeLibrary, RussianHelpStringsReadBackUnderCodePage1251) {
    wchar_t expectAcp[16] = {};
    if (GetEnvironmentVariableW(L"BK_EXPECT_ACP", expectAcp, 16)) {
        ASSERT_EQ(static_cast<UINT>(_wtoi(expectAcp)), GetACP()) << "the locale of this run did not take effect";
    }

    const StoredHelpStrings stored(support::FindNamedTypeResource(Library(), L"TYPELIB", 1));
    ASSERT_TRUE(stored.valid());
    struct HelpText { std::string type; std::wstring help; std::wstring read; };
    std::vector<HelpText> texts;
    Bstr libraryHelp;
    lib_->GetDocumentation(-1, nullptr, libraryHelp.put(), nullptr, nullptr);
    texts.push_back({"", kLibraryHelp, libraryHelp.str()});
    for (const Class& c : kClasses) {
        if (!c.help) continue;
        std::string ascii(c.name, c.name + std::wcslen(c.name));
        texts.push_back({ascii, c.help, HelpOf(TypeOf(c.clsid).get())});
    }
    ASSERT_EQ(5u, texts.size());
    for (const HelpText& t : texts) {
        SCOPED_TRACE(testing::Message() << "help string of " << (t.type.empty() ? "the library" : t.type));
        const std::string bytes = t.type.empty() ? stored.Library() : stored.Type(t.type);
        EXPECT_EQ(t.help, Decode(1251, bytes));
        EXPECT_EQ(Decode(CP_ACP, bytes), t.read);  // the API decodes with the ANSI code page
        if (GetACP() == 1251) { EXPECT_EQ(t.help, t.read); }
    }
}

// ---- The _IID_ resources: per class, the 16 bytes of its default interface identifier.

// Names of the module's resource types given by name, as stored (case kept).
std::vector<std::wstring> NamedResourceTypes(HMODULE module) {
    auto* base = reinterpret_cast<const BYTE*>(module);
    auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const auto& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_RESOURCE];
    const BYTE* root = base + dir.VirtualAddress;
    auto* types = reinterpret_cast<const IMAGE_RESOURCE_DIRECTORY*>(root);
    auto* entries = reinterpret_cast<const IMAGE_RESOURCE_DIRECTORY_ENTRY*>(types + 1);
    std::vector<std::wstring> names;
    for (int i = 0; i < types->NumberOfNamedEntries; ++i) {
        auto* s = reinterpret_cast<const IMAGE_RESOURCE_DIR_STRING_U*>(root + entries[i].NameOffset);
        names.emplace_back(s->NameString, s->Length);
    }
    return names;
}

TEST(ObjectModelResources, InterfaceIdentifierOfEveryClass) {
    struct Resource { const wchar_t* type; const IID* iid; };
    const Resource resources[] = {
        {L"_IID_ORXMAIN", &IID__orxMain},
        {L"_IID_ORXALONE", &IID__orxAlone},
        {L"_IID_ORXBENCHMARK", &IID__orxBenchMark},
        {L"_IID_ORXSIMPLELISTDIALOG", &IID__orxSimpleListDialog},
        {L"_IID_ORXBENCHMARKHP", &IID__orxBenchMarkHP},
        {L"_IID_ORXTEXTBOXDEFBUTTONWATCHER", &IID__orxTextBoxDefButtonWatcher},
        {L"_IID_ORXTABCONTROL", &IID__orxTabControl},
        {L"_IID_COMMANDLINEPARSER", &IID__CommandLineParser},
        {L"_IID_ORXAUTORUNSUPPORT", &IID__orxAutorunSupport},
        {L"_IID_ORXCLIPBOARD", &IID__orxClipboard},
        {L"_IID_ORXERR", &IID__orxErr},
        {L"_IID_ORXMULTIMONITOR", &IID__orxMultiMonitor},
        {L"_IID_MONITOR", &IID__Monitor},
        {L"_SRCIID_ORXTABCONTROL", &DIID___orxTabControl},
    };
    std::vector<std::wstring> expectedTypes;
    for (const Resource& r : resources) {
        SCOPED_TRACE(testing::Message() << r.type);
        expectedTypes.push_back(r.type);
        const auto data = support::FindNamedTypeResource(Library(), r.type, 1);
        ASSERT_EQ(20u, data.size());
        uint32_t length = 0;
        std::memcpy(&length, data.data(), 4);
        EXPECT_EQ(16u, length);
        IID stored{};
        std::memcpy(&stored, data.data() + 4, 16);
        EXPECT_EQ(GuidText(*r.iid), GuidText(stored));
    }
    // Exactly these, spelled in capitals; TYPELIB besides them.
    auto types = NamedResourceTypes(Library());
    std::erase_if(types, [](const std::wstring& t) { return t.find(L"IID_") == std::wstring::npos; });
    std::sort(types.begin(), types.end());
    std::sort(expectedTypes.begin(), expectedTypes.end());
    EXPECT_EQ(expectedTypes, types);
}

}  // namespace
