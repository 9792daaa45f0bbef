<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ru">
<context>
    <name>ErrorBoundary</name>
    <message>
        <source>Недостаточно памяти: контейнер слишком велик для окна. Программа vocafetch-cli обрабатывает контейнеры любого размера.</source>
        <translation>Not enough memory: the container is too large for the window. The vocafetch-cli program handles containers of any size.</translation>
    </message>
</context>
<context>
    <name>ErrorText</name>
    <message>
        <source>Cannot open %1.<byte value="xd"/>
(%2.)</source>
        <translation>Cannot open %1.<byte value="xd"/>
(%2.)</translation>
    </message>
    <message>
        <source>Cannot open file &quot;%1&quot;. %2</source>
        <translation>Cannot open file &quot;%1&quot;. %2</translation>
    </message>
    <message>
        <source>Невозможно открыть файл &quot;%1&quot;: окно загружает не больше 2147483647 байт. Программа vocafetch-cli обрабатывает файлы большего размера.</source>
        <translation>Cannot open file &quot;%1&quot;: the window loads at most 2147483647 bytes. The vocafetch-cli program handles larger files.</translation>
    </message>
    <message>
        <source>Cannot create file &quot;%1&quot;. %2</source>
        <translation>Cannot create file &quot;%1&quot;. %2</translation>
    </message>
    <message>
        <source>Файл &quot;%1&quot; изменился, пока его читали</source>
        <translation>&quot;%1&quot; changed while it was read</translation>
    </message>
    <message>
        <source>Запись %1 не удаётся декодировать</source>
        <translation>Recording %1 cannot be decoded</translation>
    </message>
    <message>
        <source>В записи %1 нет ни одного звукового кадра</source>
        <translation>Recording %1 holds no audio frame</translation>
    </message>
</context>
<context>
    <name>PhoneDownload</name>
    <message>
        <source>Получение списка файлов...</source>
        <translation>Getting the list of files...</translation>
    </message>
    <message>
        <source>Не найдено файлов DRF</source>
        <translation>No DRF files found</translation>
    </message>
    <message>
        <source>Чтение файла %1/%2</source>
        <translation>Reading file %1/%2</translation>
    </message>
    <message>
        <source>Все файлы успешно загружены</source>
        <translation>All files downloaded successfully</translation>
    </message>
</context>
<context>
    <name>RecordingPresentation</name>
    <message>
        <source>, каналов: %1</source>
        <translation>, channels: %1</translation>
    </message>
    <message>
        <source>%1,%2</source>
        <comment>seconds,tenths</comment>
        <translation>%1.%2</translation>
    </message>
    <message>
        <source>Запись_%1.amr</source>
        <translation>Recording_%1.amr</translation>
    </message>
    <message>
        <source>Без заголовка_%1.amr</source>
        <translation>Headerless_%1.amr</translation>
    </message>
    <message>
        <source>Звуковые записи не найдены</source>
        <translation>No sound recordings found</translation>
    </message>
    <message numerus="yes">
        <source>Найдено %n записей</source>
        <translation>
            <numerusform>Found %n recording</numerusform>
            <numerusform>Found %n recordings</numerusform>
        </translation>
    </message>
    <message>
        <source>Формат не распознан</source>
        <translation>Format not recognised</translation>
    </message>
    <message>
        <source>Длительность: %1</source>
        <translation>Duration: %1</translation>
    </message>
    <message>
        <source>Повреждённых кадров: %1</source>
        <translation>Damaged frames: %1</translation>
    </message>
    <message>
        <source>обрезана</source>
        <translation>truncated</translation>
    </message>
    <message>
        <source>без заголовка</source>
        <translation>no header</translation>
    </message>
    <message>
        <source>От: %1</source>
        <translation>From: %1</translation>
    </message>
    <message>
        <source>Дата: %1</source>
        <translation>Date: %1</translation>
    </message>
    <message>
        <source>Тема: %1</source>
        <translation>Subject: %1</translation>
    </message>
    <message>
        <source>Часть сообщения: %1</source>
        <translation>Message part: %1</translation>
    </message>
</context>
<context>
    <name>vocafetch::PhoneConnection</name>
    <message>
        <source>Соединение с телефоном...</source>
        <translation>Connecting to the phone...</translation>
    </message>
    <message>
        <source>Невозможно установить соединение с телефоном</source>
        <translation>Cannot connect to the phone</translation>
    </message>
    <message>
        <source>Соединение с телефоном установленно</source>
        <translation>Connected to the phone</translation>
    </message>
</context>
<context>
    <name>vocafetch::TForm1</name>
    <message>
        <source>Файл</source>
        <translation>File</translation>
    </message>
    <message>
        <source>&amp;Открыть</source>
        <translation>&amp;Open</translation>
    </message>
    <message>
        <source>Со&amp;хранить все</source>
        <translation>Save &amp;All</translation>
    </message>
    <message>
        <source>Считать с телефона</source>
        <translation>Read from Phone</translation>
    </message>
    <message>
        <source>Вы&amp;ход</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>Справка</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>О Программе</source>
        <translation>About</translation>
    </message>
    <message>
        <source>Сохранить</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Сохранить все</source>
        <translation>Save All</translation>
    </message>
    <message>
        <source>Открыть</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>В контейнере %1 записей: окно показывает не больше %2. Программа vocafetch-cli обрабатывает контейнеры любого размера.</source>
        <translation>The container holds %1 recordings; the window shows at most %2. The vocafetch-cli program handles containers of any size.</translation>
    </message>
    <message>
        <source>Прослушивание: %1</source>
        <translation>Playing: %1</translation>
    </message>
    <message>
        <source>Прослушивание остановлено</source>
        <translation>Playback stopped</translation>
    </message>
    <message>
        <source>Прослушивание завершено</source>
        <translation>Playback finished</translation>
    </message>
    <message>
        <source>Нет устройства для воспроизведения звука</source>
        <translation>No device to play sound on</translation>
    </message>
    <message>
        <source>Не удалось воспроизвести запись</source>
        <translation>The recording could not be played</translation>
    </message>
    <message>
        <source>Запись не удаётся декодировать</source>
        <translation>The recording cannot be decoded</translation>
    </message>
    <message>
        <source>Сохранять только звук</source>
        <translation>Save Audio Only</translation>
    </message>
    <message>
        <source>Искать записи без заголовка</source>
        <translation>Find Recordings Without a Header</translation>
    </message>
    <message>
        <source>Прослушать</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>Сохранить как…</source>
        <translation>Save As…</translation>
    </message>
    <message>
        <source>Сохранить все как…</source>
        <translation>Save All As…</translation>
    </message>
    <message>
        <source>Остальные записи сохранены. Не удаётся преобразовать записи: %1</source>
        <translation>The other recordings were saved. These recordings cannot be converted: %1</translation>
    </message>
    <message>
        <source>Сохранено %1 из %2</source>
        <translation>Saved %1 of %2</translation>
    </message>
    <message>
        <source>Файл уже существует: %1. Заменить?</source>
        <translation>The file already exists: %1. Replace it?</translation>
    </message>
    <message>
        <source>Файлы уже существуют: %1 и ещё %2. Заменить?</source>
        <translation>The files already exist: %1 and %2 more. Replace them?</translation>
    </message>
    <message>
        <source>Заменить</source>
        <translation>Replace</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Все файлы (*)</source>
        <translation>All files (*)</translation>
    </message>
    <message>
        <source>Контейнеры</source>
        <translation>Containers</translation>
    </message>
    <message>
        <source>Открытые файлы. Выбранный файл загружается, и его записи появляются в списке записей.</source>
        <translation>The opened files. The selected file is loaded and its recordings appear in the recording list.</translation>
    </message>
    <message>
        <source>Записи</source>
        <translation>Recordings</translation>
    </message>
    <message>
        <source>Записи загруженного контейнера. Контекстное меню сохраняет и проигрывает выбранную запись.</source>
        <translation>The recordings of the loaded container. The context menu saves and plays the selected recording.</translation>
    </message>
    <message>
        <source>Открывает файлы с записями.</source>
        <translation>Opens files that hold recordings.</translation>
    </message>
    <message>
        <source>Считывает контейнеры из подключённого телефона.</source>
        <translation>Reads the containers of the connected phone.</translation>
    </message>
    <message>
        <source>Сохраняет выбранную запись в файл.</source>
        <translation>Saves the selected recording to a file.</translation>
    </message>
    <message>
        <source>Сохраняет все записи контейнера в файлы.</source>
        <translation>Saves every recording of the container to files.</translation>
    </message>
    <message>
        <source>Строка состояния</source>
        <translation>Status line</translation>
    </message>
    <message>
        <source>Главное меню</source>
        <translation>Main menu</translation>
    </message>
    <message>
        <source>Действия с записями</source>
        <translation>Recording actions</translation>
    </message>
    <message>
        <source>Меню окна</source>
        <translation>Window menu</translation>
    </message>
    <message>
        <source>Открывает меню окна: свернуть, закрыть.</source>
        <translation>Opens the window menu: minimize, close.</translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Закрывает окно и завершает программу.</source>
        <translation>Closes the window and ends the program.</translation>
    </message>
    <message>
        <source>Свернуть</source>
        <translation>Minimize</translation>
    </message>
    <message>
        <source>Сворачивает окно.</source>
        <translation>Minimizes the window.</translation>
    </message>
    <message>
        <source>Развернуть</source>
        <translation>Maximize</translation>
    </message>
    <message>
        <source>Разворачивает окно или восстанавливает его размер.</source>
        <translation>Maximizes the window or restores its size.</translation>
    </message>
    <message>
        <source>С&amp;вернуть</source>
        <translation>Mi&amp;nimize</translation>
    </message>
    <message>
        <source>Р&amp;азвернуть/Восстановить</source>
        <translation>Ma&amp;ximize/Restore</translation>
    </message>
    <message>
        <source>&amp;Закрыть</source>
        <translation>&amp;Close</translation>
    </message>
</context>
<context>
    <name>vocafetch::TForm2</name>
    <message>
        <source>Автор</source>
        <translation>About Vocafetch</translation>
    </message>
    <message>
        <source>© 2026. Лицензия: GPL-3.0-or-later</source>
        <translation>© 2026. Licence: GPL-3.0-or-later</translation>
    </message>
    <message>
        <source>Почта: vocafetch@example.org</source>
        <translation>E-mail: vocafetch@example.org</translation>
    </message>
    <message>
        <source>Разработчики Vocafetch</source>
        <translation>The Vocafetch developers</translation>
    </message>
</context>
</TS>
