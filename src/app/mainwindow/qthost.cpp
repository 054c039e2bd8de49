#include "app/mainwindow/qthost.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QSoundEffect>
#include <QStringList>
#include <QUrl>
#include <algorithm>
#include <cstdio>

#include "app/dialogs/screenfit.h"
#include "app/mainwindow/mainwindow.h"
#include "core/fileio.h"
#include "core/version.h"

namespace m8 {

namespace {
QString Q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

QMessageBox::Icon BoxIcon(Icon i) {
  switch (i) {
    case Icon::Information: return QMessageBox::Information;
    case Icon::Exclamation: return QMessageBox::Warning;
    case Icon::Question: return QMessageBox::Question;
    case Icon::Critical: return QMessageBox::Critical;
    default: return QMessageBox::NoIcon;
  }
}

// Characters of one line a box shows at most, and of its details. A longer
// line of words (a sentence naming folders, say) is shown whole when it fits
// the screen, up to the second bound.
constexpr qsizetype kBoxLineChars = 300;
constexpr qsizetype kBoxParagraphChars = 2000;
constexpr qsizetype kBoxDetailChars = 20000;
// Pixels a box takes besides its text: title bar, margins, buttons, and the
// details field when it is open.
constexpr int kBoxFrameHeight = 160;
constexpr int kBoxDetailsHeight = 140;

QString Cut(const QString& text, qsizetype chars) {
  return text.size() <= chars ? text : text.left(chars) + QChar(0x2026);
}

// Whether every word of the line is narrower than `room` pixels: the box
// wraps such a line between its words.
bool WordsFit(const QString& line, const QFontMetrics& fm, int room) {
  for (const QString& word : line.split(QLatin1Char(' '), Qt::SkipEmptyParts))
    if (fm.horizontalAdvance(word) > room) return false;
  return true;
}

}  // namespace

void FitMessageText(QMessageBox& box, const QString& text, const QRect& screen) {
  // The text is wrapped to at most half the screen's width (up to 500
  // pixels); counting the lines at a narrower width errs on the safe side.
  const QFontMetrics fm(box.font());
  const int wrapWidth = std::max(100, std::min(screen.width() / 2, 500) - 80);
  const int lineHeight = std::max(1, fm.lineSpacing());
  const int room = screen.height() - kBoxFrameHeight - kBoxDetailsHeight;
  const int maxLines = std::max(3, room / lineHeight);
  // The widest word a box can show: the screen less the icon and margins.
  const int wordRoom = std::max(100, screen.width() - 160);
  QStringList shown;
  int used = 0;
  bool cut = false;
  qsizetype start = 0;
  while (start <= text.size()) {
    qsizetype end = text.indexOf(QLatin1Char('\n'), start);
    if (end < 0) end = text.size();
    QString line = text.mid(start, std::min<qsizetype>(end - start, kBoxParagraphChars + 1));
    if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
    if (line.size() > kBoxLineChars) {
      const bool whole = line.size() <= kBoxParagraphChars && WordsFit(line, fm, wordRoom) &&
                         used + 1 + fm.horizontalAdvance(line) / wrapWidth <= maxLines;
      if (!whole) {
        line = Cut(line, kBoxLineChars);
        cut = true;
      }
    }
    const int lines = 1 + fm.horizontalAdvance(line) / wrapWidth;
    if (used + lines > maxLines) {
      cut = true;
      break;
    }
    used += lines;
    shown << line;
    start = end + 1;
  }
  if (!cut) {
    box.setText(text);
    return;
  }
  shown << QString(QChar(0x2026));
  box.setText(shown.join(QLatin1Char('\n')));
  box.setDetailedText(Cut(text, kBoxDetailChars));
}

QtHost::QtHost(MainWindow& window) : window_(window) {}
QtHost::~QtHost() = default;

QRect QtHost::BoxScreen() const {
  if (window_.isVisible()) return window_.availableArea();
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
}

void QtHost::pump() {
  if (!throttle_.due()) return;
  QCoreApplication::processEvents();
}

void QtHost::setUnattended(std::function<void(const std::string&)> log) {
  unattended_ = true;
  log_ = std::move(log);
}

void QtHost::logInsteadOfBox(std::string_view title, std::string_view text) {
  ++unattendedMessages_;
  // The box's lines joined into one.
  std::string line(title);
  line += ": ";
  bool gap = false;
  for (const char c : text) {
    if (c == '\r' || c == '\n') {
      gap = true;
      continue;
    }
    if (gap && line.back() != ' ') line += ' ';
    gap = false;
    line += c;
  }
  std::fprintf(stderr, "%s: %s\n", kProgramName, line.c_str());
  std::fflush(stderr);
  if (log_) log_(line);
}

void QtHost::message(Icon icon, std::string_view title, std::string_view text) {
  if (unattended_) {
    logInsteadOfBox(title, text);
    return;
  }
  if (hooks_.message) {
    hooks_.message(icon, Q(title), Q(text));
    return;
  }
  QMessageBox box(BoxIcon(icon), Q(title), QString(), QMessageBox::Ok, window_.isVisible() ? &window_ : nullptr);
  KeepOnScreen(&box);
  FitMessageText(box, Q(text), BoxScreen());
  box.exec();
}

bool QtHost::askYesNo(std::string_view title, std::string_view text) {
  if (unattended_) {
    logInsteadOfBox(title, std::string(text) + " No.");
    return false;
  }
  if (hooks_.askYesNo) return hooks_.askYesNo(Q(title), Q(text));
  QMessageBox box(QMessageBox::Question, Q(title), QString(), QMessageBox::Yes | QMessageBox::No,
                  window_.isVisible() ? &window_ : nullptr);
  KeepOnScreen(&box);
  FitMessageText(box, Q(text), BoxScreen());
  return box.exec() == QMessageBox::Yes;
}

int QtHost::choose(std::string_view title, const std::vector<std::string>& choices) {
  if (unattended_) return -1;
  QMenu menu(window_.isVisible() ? &window_ : nullptr);
  menu.addSection(Q(title));
  for (size_t i = 0; i < choices.size(); ++i) menu.addAction(Q(choices[i]))->setData(static_cast<int>(i));
  const QAction* picked = nullptr;
  QObject::connect(&menu, &QMenu::triggered, &menu, [&picked](QAction* a) { picked = a; });
  const QAction* returned = menu.exec(QCursor::pos());
  if (!picked) picked = returned;
  return picked && picked->data().isValid() ? picked->data().toInt() : -1;
}

void QtHost::status(int panel, std::string_view text) { window_.setStatusText(panel, Q(text)); }

void QtHost::progress(int value, int maximum) { window_.setProgress(value, maximum); }

void QtHost::setCommandEnabled(Command c, bool enabled) { window_.setCommandEnabled(c, enabled); }

void QtHost::setCommandChecked(Command c, bool checked) { window_.setCommandChecked(c, checked); }

void QtHost::playSound(Sound s) {
  const int key = static_cast<int>(s);
  auto it = sounds_.find(key);
  if (it == sounds_.end()) {
    const char* name = s == Sound::Click ? "sounds/click.wav" : "sounds/roll.wav";
    const QString path =
        QString::fromStdString(ResolvePath(window_.state().ProgramFolder, name));
    std::unique_ptr<QSoundEffect> effect;
    if (QFileInfo::exists(path)) {
      effect = std::make_unique<QSoundEffect>();
      effect->setSource(QUrl::fromLocalFile(path));
    }
    it = sounds_.emplace(key, std::move(effect)).first;
  }
  if (it->second) it->second->play();
}

double QtHost::monotonicSeconds() { return (clock_ ? clock_() : Host::monotonicSeconds()) - held_; }

bool QtHost::askWithClockHeld(const std::function<bool()>& ask) {
  const double before = monotonicSeconds();
  const bool answer = ask();
  held_ += std::max(0.0, monotonicSeconds() - before);
  return answer;
}

void QtHost::refresh(View v) { window_.refreshView(v); }

void QtHost::fatal(std::string_view text) {
  message(Icon::Exclamation, "Error", text);
  window_.endAfterFatalError();
}

}  // namespace m8
