#include "MatrixSimulator.h"

#include "MatrixCommandFramer.h"

namespace {

const QByteArray kCrlf("\r\n");
const QList<int> kModels = {4, 8, 16, 32, 64, 96, 128, 144, 160};
constexpr int kSceneCount = 10;
constexpr int kLevelDefault = 50;
constexpr int kLevelMax = 100;
constexpr int kSubtitleMaxBytes = 64;
constexpr int kNameMaxBytes = 32;
constexpr int kBuiltInEdidCount = 11;

// Card setting commands: "<word>:<port>:<value>".
enum class ValueKind { Level, Step, Token, Text, Number };

// A setting that only some cards have (see MatrixCards::Feature); Any: every card of the side.
enum class Needs { Any, Audio, PictureLevels, Steps, Edid };

struct SettingWord
{
    const char* word;
    char side;            // 'I' input port, 'O' output port, 'P' preview output port
    const char* label;    // as written in the answer
    ValueKind kind;
    QList<QByteArray> tokens;
    Needs needs = Needs::Any;
};

const char kEdidCopyWord[] = "EDIDCopy";

const QList<SettingWord>& settingWords()
{
    static const QList<SettingWord> words = {
        {"InBright", 'I', "Brightness", ValueKind::Level, {}, Needs::PictureLevels},
        {"InChroma", 'I', "Chroma", ValueKind::Level, {}, Needs::PictureLevels},
        {"InContrast", 'I', "Contrast", ValueKind::Level, {}, Needs::PictureLevels},
        {"InSharp", 'I', "Sharpness", ValueKind::Level, {}, Needs::PictureLevels},
        {"InSubText", 'I', "Subtitle Text", ValueKind::Text, {}},
        {"InAudio", 'I', "Audio", ValueKind::Token, {"EMB", "EXT", "MUTE"}, Needs::Audio},
        {"InFormat", 'I', "Format", ValueKind::Token,
         {"AUTO", "RGB", "YUV444", "YUV422", "YPBPR", "SD", "HD", "3G", "PAL", "NTSC", "H264", "H265"}},
        {"InSubtitle", 'I', "Subtitle", ValueKind::Token, {"OFF", "ON"}},
        {"InSubPos", 'I', "Subtitle Position", ValueKind::Token, {"TL", "TR", "BL", "BR"}},
        {"InSubColor", 'I', "Subtitle Colour", ValueKind::Token, {"WHITE", "RED", "GREEN", "BLUE", "BLACK"}},
        {"EDID", 'I', "EDID", ValueKind::Number, {}, Needs::Edid},
        {"OutBright", 'O', "Brightness", ValueKind::Step, {}, Needs::Steps},
        {"OutContrast", 'O', "Contrast", ValueKind::Step, {}, Needs::Steps},
        {"OutSat", 'O', "Saturation", ValueKind::Step, {}, Needs::Steps},
        {"OutRes", 'O', "Resolution", ValueKind::Token,
         {"2160P60", "2160P30", "1080P60", "1080P50", "1080I60", "720P60", "720P50", "1920X1200", "1680X1050",
          "1600X1200", "1440X900", "1366X768", "1280X1024", "1024X768"}},
        {"OutAudio", 'O', "Audio", ValueKind::Token, {"EMB", "EXT", "MUTE"}},
        {"OutFormat", 'O', "Format", ValueKind::Token, {"HDMI", "DVI", "SD", "HD", "3G", "RGB", "YPBPR", "PAL", "NTSC"}},
        {"PrvMain", 'P', "Main Stream", ValueKind::Token, {"1080P30", "1080P25", "720P30", "720P25"}},
        {"PrvSub", 'P', "Sub Stream", ValueKind::Token, {"720P30", "720P25", "576P25", "360P30"}},
    };
    return words;
}

const SettingWord* findSettingWord(const QByteArray& word)
{
    for (const SettingWord& w : settingWords()) {
        if (word.compare(w.word, Qt::CaseInsensitive) == 0)
            return &w;
    }
    return nullptr;
}

// The stored name of a setting: the command word as the table spells it.
QString canonicalWord(const QString& word)
{
    if (const SettingWord* setting = findSettingWord(word.toLatin1()))
        return QLatin1String(setting->word);
    if (word.compare(QLatin1String(kEdidCopyWord), Qt::CaseInsensitive) == 0)
        return QLatin1String(kEdidCopyWord);
    return word;
}

QString settingKey(char side, int port)
{
    return QStringLiteral("%1%2").arg(QLatin1Char(side)).arg(port);
}

QByteArray line(const QString& text)
{
    return text.toLatin1() + kCrlf;
}

QByteArray error(const char* reason)
{
    return QByteArray("Error: ") + reason + '.' + kCrlf;
}

bool parseNumber(const QByteArray& text, int* value)
{
    if (text.isEmpty() || text.size() > 4)
        return false;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    *value = text.toInt();
    return true;
}

bool is(const QByteArray& word, const char* name)
{
    return word.compare(name, Qt::CaseInsensitive) == 0;
}

// "16x16" for the 16-port model, as the front panel shows it.
QString defaultModelText(int model)
{
    return QStringLiteral("%1x%1").arg(model);
}

// Name and model texts travel with every byte raised by a fixed offset.
QString decodeShifted(const QByteArray& bytes, int offset)
{
    QString text;
    for (char c : bytes)
        text.append(QChar(uchar((uchar(c) + 256 - offset) % 256)));
    return text;
}

} // namespace

MatrixSimulator::MatrixSimulator(const MatrixConfig& config, QObject* parent)
    : QObject(parent),
      ports(kModels.contains(config.model) ? config.model : 16),
      cards(ports, config.inCards, config.outCards, config.firstIpCardAddress),
      name(config.name),
      modelText(defaultModelText(ports)),
      frontVersion(config.frontPanelVersion),
      backVersion(config.backPanelVersion),
      keyboardLocked(config.keyboardLocked),
      routes(ports),
      lastInput(ports)
{
    // A new matrix passes every input through to the output of the same number.
    for (int i = 0; i < ports; ++i) {
        routes[i] = i;
        lastInput[i] = i;
    }
}

QByteArray MatrixSimulator::receive(int clientId, const QByteArray& bytes, const Refusal& refusal)
{
    Client& client = clients[clientId];
    client.buffer.append(bytes);
    const QList<FramedCommand> commands = MatrixCommandFramer::take(client.buffer);

    QByteArray answer;
    for (const FramedCommand& command : commands) {
        if (const std::optional<QByteArray> refused = refusal ? refusal() : std::nullopt) {
            answer += *refused;
            continue;
        }
        bool changed = false;
        QByteArray reply;
        switch (command.kind) {
        case FramedCommand::Text:
            reply = execute(client, command.body, &changed);
            break;
        case FramedCommand::CardSelect:
            reply = executeCardSelect(client, command.side, command.port, command.slot);
            break;
        case FramedCommand::AddressChange:
            reply = executeAddressChange(command.side, command.port, command.address);
            break;
        case FramedCommand::Invalid:
            reply = error("unknown command");
            break;
        }
        answer += reply;
        if (changed)
            emit notify(clientId, reply);
    }
    return answer;
}

void MatrixSimulator::clientGone(int clientId)
{
    clients.remove(clientId);
}

int MatrixSimulator::routeOf(int output) const
{
    return output >= 0 && output < ports ? routes.at(output) : -1;
}

QList<QHostAddress> MatrixSimulator::ipCardAddresses() const
{
    return cards.ipAddresses();
}

QList<QHostAddress> MatrixSimulator::previewCardAddresses() const
{
    return cards.previewAddresses();
}

void MatrixSimulator::ipCardMoved(int index, const QHostAddress& address)
{
    if (cards.ipAddresses().value(index) == address || !cards.setIpAddressAt(index, address))
        return;
    emit cardAddressesChanged();
}

QByteArray MatrixSimulator::portSetting(char side, int port, const QString& word) const
{
    return settings.value(settingKey(side, port)).value(canonicalWord(word));
}

QMap<QString, QByteArray> MatrixSimulator::portSettings(char side, int port) const
{
    return settings.value(settingKey(side, port));
}

bool MatrixSimulator::cardHas(char side, int port, int needs) const
{
    switch (Needs(needs)) {
    case Needs::Any:
        return true;
    case Needs::Audio:
        return cards.inputHas(port, MatrixCards::Feature::Audio);
    case Needs::PictureLevels:
        return cards.inputHas(port, MatrixCards::Feature::PictureLevels);
    case Needs::Steps:
        return cards.outputHas(port, MatrixCards::Feature::Steps);
    case Needs::Edid:
        return side == 'I' ? cards.inputHas(port, MatrixCards::Feature::Edid)
                           : cards.outputHas(port, MatrixCards::Feature::Edid);
    }
    return false;
}

QByteArray MatrixSimulator::execute(Client& client, const QByteArray& body, bool* changed)
{
    if (body.startsWith('#')) {
        const QByteArray encoded = body.mid(1);
        if (encoded.isEmpty() || encoded.size() > kNameMaxBytes)
            return error("bad name");
        name = decodeShifted(encoded, 37);
        return line(QStringLiteral("Device Name Set."));
    }
    if (body.startsWith("?NewModel!")) {
        const QByteArray encoded = body.mid(10);
        if (encoded.isEmpty() || encoded.size() > kNameMaxBytes)
            return error("bad model");
        modelText = decodeShifted(encoded, 44);
        return line(QStringLiteral("Device Model Set."));
    }

    QList<QByteArray> parts = body.split(':');
    const QByteArray word = parts.takeFirst().trimmed();
    if (findSettingWord(word))
        return executeSetting(word, parts);

    const bool noArgs = parts.isEmpty();
    if (is(word, "IOStatus") && noArgs)
        return statusAnswer == StatusForm::Arrows ? arrowLines(QStringLiteral("AV:")) : statusLines();
    if (is(word, "InitCardList") && noArgs)
        return line(QStringLiteral("Card List Ready."));
    if (is(word, "InCardList") && noArgs)
        return line(QStringLiteral("IC[%1]").arg(cards.inLetters()));
    if (is(word, "OutCardList") && noArgs)
        return line(QStringLiteral("OC[%1]").arg(cards.outLetters()));
    if (is(word, "ReleaseCardList") && noArgs)
        return line(QStringLiteral("Card List Released."));
    if (is(word, "FrontPanelVer") && noArgs)
        return line(QStringLiteral("Front Panel Ver %1").arg(frontVersion));
    if (is(word, "BackPanelVer") && noArgs)
        return line(QStringLiteral("Back Panel Ver %1").arg(backVersion));
    if (is(word, "KeyBoardLock") && noArgs)
        return line(keyboardLocked ? QStringLiteral("KeyBoard Locked.") : QStringLiteral("KeyBoard Free."));
    if (is(word, "VAddr"))
        return executeAddressQuery(client, parts);
    if (is(word, "SceneCall") || is(word, "SceneSave") || is(word, "SceneClear"))
        return executeScene(word, parts, changed);
    if (is(word, "EDIDCopy")) {
        int output = 0;
        int input = 0;
        // The source output is counted from 0, the input from 1.
        if (parts.size() != 2 || !parseNumber(parts.at(0), &output) || output >= ports
            || !parsePort(parts.at(1), &input))
            return error("bad port");
        if (!cards.hasInputCard(input) || !cards.hasOutputCard(output + 1))
            return error("no card");
        if (!cardHas('I', input, int(Needs::Edid)) || !cardHas('O', output + 1, int(Needs::Edid)))
            return error("not supported");
        settings[settingKey('I', input)].insert(QLatin1String(kEdidCopyWord), QByteArray::number(output + 1));
        return line(QStringLiteral("Input %1 EDID Copied From Output %2.").arg(input).arg(output + 1));
    }
    return executeRouting(word, parts, changed);
}

QByteArray MatrixSimulator::executeRouting(const QByteArray& word, const QList<QByteArray>& args, bool* changed)
{
    if (is(word, "Switch")) {
        int input = 0;
        QList<int> outputs;
        if (args.size() != 2 || !parsePort(args.at(0), &input) || !parsePortList(args.at(1), &outputs))
            return error("bad port");
        QStringList numbers;
        for (int output : qAsConst(outputs)) {
            setRoute(output - 1, input - 1);
            numbers << QString::number(output);
        }
        *changed = true;
        return line(QStringLiteral("%1V%2.").arg(input).arg(numbers.join(QLatin1Char(','))));
    }
    if (is(word, "SwitchAll")) {
        int input = 0;
        if (args.size() != 1 || !parsePort(args.at(0), &input))
            return error("bad port");
        for (int output = 0; output < ports; ++output)
            setRoute(output, input - 1);
        *changed = true;
        return line(QStringLiteral("%1 To All.").arg(input));
    }
    if (is(word, "Close")) {
        QList<int> outputs;
        if (args.size() != 1 || !parsePortList(args.at(0), &outputs))
            return error("bad port");
        QByteArray reply;
        for (int output : qAsConst(outputs)) {
            setRoute(output - 1, -2);
            reply += line(QStringLiteral("Output %1 Closed.").arg(output));
        }
        *changed = true;
        return reply;
    }
    if (is(word, "CloseAll") && args.isEmpty()) {
        for (int output = 0; output < ports; ++output)
            setRoute(output, -2);
        *changed = true;
        return line(QStringLiteral("All Closed."));
    }
    return error("unknown command");
}

QByteArray MatrixSimulator::executeScene(const QByteArray& word, const QList<QByteArray>& args, bool* changed)
{
    int scene = -1;
    if (args.size() != 1 || !parseNumber(args.at(0), &scene) || !sceneInRange(scene))
        return error("bad scene");
    if (is(word, "SceneSave")) {
        scenes.insert(scene, routes);
        return line(QStringLiteral("Scene %1 Saved.").arg(scene));
    }
    if (is(word, "SceneClear")) {
        scenes.remove(scene);
        return line(QStringLiteral("Scene %1 Cleared.").arg(scene));
    }
    if (!scenes.contains(scene))
        return error("scene empty");
    const QVector<int> stored = scenes.value(scene);
    for (int output = 0; output < ports; ++output)
        setRoute(output, stored.at(output));
    *changed = true;
    return line(QStringLiteral("Recall %1.").arg(scene)) + arrowLines(QStringLiteral("AV: "));
}

QByteArray MatrixSimulator::executeAddressQuery(Client& client, const QList<QByteArray>& args)
{
    int kind = 0;
    int slot = 0;
    if (args.size() != 2 || !parseNumber(args.at(0), &kind) || !parseNumber(args.at(1), &slot))
        return error("bad card");
    QHostAddress address;
    if (kind == 1) {
        int& turn = client.ipTurn[slot];
        address = cards.ipAddress(slot, turn);
        if (!address.isNull())
            turn = 1 - turn;
    } else if (kind == 2) {
        address = cards.previewAddress(slot);
    }
    if (address.isNull())
        return error("no such card");
    const quint32 value = address.toIPv4Address();
    QByteArray reply(1, '*');
    for (int shift = 24; shift >= 0; shift -= 8)
        reply.append(char((value >> shift) & 0xFF));
    return reply + kCrlf;
}

QByteArray MatrixSimulator::executeCardSelect(Client& client, char side, int port, int slot)
{
    if (side == 'I') {
        if (cards.ipAddress(slot, 0).isNull() || (port - 1) / 4 + 1 != slot)
            return error("no such card");
        client.ipTurn[slot] = 0;
        return line(QStringLiteral("IP Card %1 Selected.").arg(slot));
    }
    if (cards.previewAddress(slot).isNull() || (port - 1) / 4 + 1 != slot)
        return error("no such card");
    return line(QStringLiteral("Preview Card %1 Selected.").arg(slot));
}

QByteArray MatrixSimulator::executeAddressChange(char side, int port, const quint8 address[4])
{
    const QHostAddress target(quint32(address[0]) << 24 | quint32(address[1]) << 16 | quint32(address[2]) << 8
                              | address[3]);
    const int slot = port >= 1 ? (port - 1) / 4 + 1 : 0;
    // The simulated cards live on loopback only.
    if (address[0] != 127)
        return error("loopback addresses only");
    bool done = false;
    QString card;
    if (side == 'I') {
        done = cards.setIpAddress(slot, (port - 1) % 4 / 2, target);
        card = QStringLiteral("IP Card");
    } else {
        done = cards.setPreviewAddress(slot, target);
        card = QStringLiteral("Preview Card");
    }
    if (!done)
        return error("no such card");
    emit cardAddressesChanged();
    return line(QStringLiteral("%1 %2 Address %3 Set.").arg(card).arg(slot).arg(target.toString()));
}

QByteArray MatrixSimulator::executeSetting(const QByteArray& word, const QList<QByteArray>& args)
{
    const SettingWord& setting = *findSettingWord(word);
    int port = 0;
    if (args.size() < 2 || !parsePort(args.at(0), &port))
        return error("bad port");
    const bool present = setting.side == 'I' ? cards.hasInputCard(port)
                         : setting.side == 'O' ? cards.hasOutputCard(port)
                                               : cards.outLetterOfPort(port) == MatrixCards::PreviewOutputLetter;
    if (!present)
        return error("no card");
    const char side = setting.side == 'I' ? 'I' : 'O';
    if (!cardHas(side, port, int(setting.needs)))
        return error("not supported");

    QMap<QString, QByteArray>& stored = settings[settingKey(side, port)];
    const QString key = QLatin1String(setting.word);
    const QString prefix = QStringLiteral("%1 %2 %3 ").arg(side == 'I' ? QStringLiteral("Input") : QStringLiteral("Output"))
                               .arg(port).arg(QLatin1String(setting.label));
    // The subtitle text may hold ":" itself; every other value is one field.
    const QByteArray value = setting.kind == ValueKind::Text ? args.mid(1).join(':') : args.at(1).trimmed();
    if (setting.kind != ValueKind::Text && args.size() != 2)
        return error("bad value");

    int number = 0;
    switch (setting.kind) {
    case ValueKind::Level:
        if (!parseNumber(value, &number) || number > kLevelMax)
            return error("bad value");
        stored.insert(key, QByteArray::number(number));
        return line(prefix + QStringLiteral("%1 OK.").arg(number));
    case ValueKind::Number:
        if (!parseNumber(value, &number) || number < 1 || number > kBuiltInEdidCount)
            return error("bad value");
        stored.insert(key, QByteArray::number(number));
        return line(prefix + QStringLiteral("%1 OK.").arg(number));
    case ValueKind::Step: {
        if (value != "+" && value != "-")
            return error("bad value");
        number = stored.value(key, QByteArray::number(kLevelDefault)).toInt();
        number = qBound(0, number + (value == "+" ? 1 : -1), kLevelMax);
        stored.insert(key, QByteArray::number(number));
        return line(prefix + QStringLiteral("%1 OK.").arg(number));
    }
    case ValueKind::Token:
        if (!setting.tokens.contains(value.toUpper()))
            return error("bad value");
        stored.insert(key, value.toUpper());
        return line(prefix + QStringLiteral("%1 OK.").arg(QString::fromLatin1(value.toUpper())));
    case ValueKind::Text:
        if (value.size() > kSubtitleMaxBytes)
            return error("text too long");
        // The text is kept but never echoed: it could read like a route report.
        stored.insert(key, value);
        return line(prefix + QStringLiteral("OK."));
    }
    return error("bad value");
}

void MatrixSimulator::setRoute(int output, int input)
{
    if (output < 0 || output >= ports || routes.at(output) == input)
        return;
    if (input >= 0)
        lastInput[output] = input;
    else if (routes.at(output) >= 0)
        lastInput[output] = routes.at(output);
    routes[output] = input;
    emit routeChanged(output, input);
}

// One route list per input that feeds outputs, then "0V" with every output without an input.
QByteArray MatrixSimulator::statusLines() const
{
    QMap<int, QStringList> byInput;
    for (int output = 0; output < ports; ++output)
        byInput[qMax(routes.at(output), -1) + 1].append(QString::number(output + 1));
    QByteArray reply;
    for (auto it = byInput.cbegin(); it != byInput.cend(); ++it) {
        if (it.key() > 0)
            reply += line(QStringLiteral("%1V%2.").arg(it.key()).arg(it.value().join(QLatin1Char(','))));
    }
    if (byInput.contains(0))
        reply += line(QStringLiteral("0V%1.").arg(byInput.value(0).join(QLatin1Char(','))));
    return reply;
}

// One "<head><in>-><out>" line per output, input 0 for an output without one (closed too).
QByteArray MatrixSimulator::arrowLines(const QString& head) const
{
    QByteArray reply;
    for (int output = 0; output < ports; ++output)
        reply += line(QStringLiteral("%1%2->%3").arg(head).arg(qMax(routes.at(output), -1) + 1).arg(output + 1));
    return reply;
}

bool MatrixSimulator::parsePort(const QByteArray& text, int* port) const
{
    return parseNumber(text.trimmed(), port) && *port >= 1 && *port <= ports;
}

bool MatrixSimulator::parsePortList(const QByteArray& text, QList<int>* list) const
{
    list->clear();
    for (const QByteArray& part : text.split(',')) {
        int port = 0;
        if (!parsePort(part, &port))
            return false;
        if (!list->contains(port))
            list->append(port);
    }
    return !list->isEmpty();
}

// The 160-port model numbers its scenes 1 to 10, every other model 0 to 9.
bool MatrixSimulator::sceneInRange(int scene) const
{
    const int first = ports == 160 ? 1 : 0;
    return scene >= first && scene < first + kSceneCount;
}

void MatrixSimulator::setKeyboardLocked(bool locked)
{
    keyboardLocked = locked;
}

bool MatrixSimulator::panelSwitch(int input, int output)
{
    if (input < 0 || input > ports || output < 1 || output > ports)
        return false;
    setRoute(output - 1, input - 1);
    emit notify(-1, line(QStringLiteral("AV: %1->%2").arg(input).arg(output)));
    return true;
}

void MatrixSimulator::panelAllThrough()
{
    for (int output = 0; output < ports; ++output)
        setRoute(output, output);
    emit notify(-1, line(QStringLiteral("All Through.")));
}

void MatrixSimulator::panelOpenAll()
{
    for (int output = 0; output < ports; ++output) {
        if (routes.at(output) == -2)
            setRoute(output, lastInput.at(output));
    }
    emit notify(-1, line(QStringLiteral("Outputs Open.")));
}

void MatrixSimulator::panelFactoryDefault()
{
    for (int output = 0; output < ports; ++output)
        setRoute(output, output);
    scenes.clear();
    settings.clear();
    keyboardLocked = false;
    emit notify(-1, line(QStringLiteral("Factory Default.")));
}
