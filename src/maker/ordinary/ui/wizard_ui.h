#pragma once
// The controls of the ordinary card wizard, page by page (captions in the comments).
#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QSlider;
class QTabWidget;
class QWidget;

namespace ordinary_ui {

class ColorSwatch;
class MoviePart;
class PicturePart;

struct WizardUi {
  // Frame.
  QTabWidget* pages = nullptr;
  std::array<QLabel*, 6> titles{};  // each page's title at its top
  QPushButton* browseCard = nullptr;  // "浏览贺卡图片或电影(&B)"
  QPushButton* previous = nullptr;    // "上一步(&U)"
  QPushButton* next = nullptr;        // "下一步(&N)"
  QPushButton* finish = nullptr;      // "完成(&F)"
  QPushButton* cancel = nullptr;      // "取消(&C)"
  QLabel* help = nullptr;             // "帮助信息(F1)"

  // Page 1 "设置贺卡图片或电影".
  QScrollArea* cardArea = nullptr;    // 400 x 265
  QWidget* cardCanvas = nullptr;      // the area's content, in the card background colour
  PicturePart* cardPicture = nullptr;
  PicturePart* cardGif = nullptr;
  MoviePart* cardMovie = nullptr;
  QLineEdit* cardWidth = nullptr;     // "贺卡宽度:"
  QLineEdit* cardHeight = nullptr;    // "贺卡高度:"
  ColorSwatch* cardBkColor = nullptr; // "背景色:"
  QCheckBox* cardBkTran = nullptr;    // "背景透明"

  // Page 2 "设置背景声音".
  QCheckBox* bkMusic = nullptr;       // "使用背景音乐"
  QGroupBox* musicGroup = nullptr;
  QLabel* musicLabel = nullptr;       // "音乐文件位置:"
  QLineEdit* music = nullptr;
  QPushButton* musicBrowse = nullptr;
  QRadioButton* playCount = nullptr;  // "播放次数:"
  QLineEdit* musicCount = nullptr;    // "1"
  QRadioButton* endless = nullptr;    // "无限次循环播放"
  QPushButton* musicTest = nullptr;   // "试听背景音乐"
  QPushButton* musicStop = nullptr;   // "停止试听音乐"
  QCheckBox* useWav = nullptr;        // "播放录音文件"
  QGroupBox* voiceGroup = nullptr;
  QLabel* voiceLabel = nullptr;       // "录音文件位置:"
  QLineEdit* voice = nullptr;
  QPushButton* voiceBrowse = nullptr;
  QPushButton* voiceRecord = nullptr; // "新建录音"
  QPushButton* voiceTest = nullptr;   // "试听录音"
  QPushButton* voiceStop = nullptr;   // "停止试听录音"
  QComboBox* playSet = nullptr;       // "背景音乐与录音的播放次序:"
  QSlider* playPosition = nullptr;    // "背景音乐指定位置:"

  // Page 3 "设置贺词".
  QScrollArea* boxArea = nullptr;     // 425 x 129
  QWidget* boxCanvas = nullptr;       // the area's content, in the greeting window colour
  PicturePart* boxPicture = nullptr;
  PicturePart* boxGif = nullptr;
  QLabel* greeting = nullptr;         // the greeting label on the box
  QLabel* boxListLabel = nullptr;     // "贺词框:"
  QComboBox* boxList = nullptr;
  QLineEdit* boxWidth = nullptr;      // "宽度:"
  QLineEdit* boxHeight = nullptr;     // "高度:"
  QPlainTextEdit* boxWord = nullptr;  // "贺词:"
  QPushButton* setFont = nullptr;     // "设置字体"
  QPushButton* setFontColour = nullptr;  // "设置字色"
  QPushButton* loadWord = nullptr;    // "读入贺词"
  QPushButton* saveWord = nullptr;    // "保存贺词"
  QLabel* moreBoxes = nullptr;        // "浏览更多的贺词框背景"
  ColorSwatch* boxColor = nullptr;    // "窗体背景色:"
  QCheckBox* boxTran = nullptr;       // "透明"
  QCheckBox* boxScroll = nullptr;     // "滚动显示贺词  滚动速度为:"
  QLineEdit* boxInv = nullptr;        // "100"
  QLabel* boxInvUnit = nullptr;       // "毫秒/次"

  // Page 4 "设置贺卡动作及位置".
  QLineEdit* move = nullptr;          // "贺卡在屏幕上的移动速度:"
  QLabel* moveSet1Label = nullptr;    // "贺卡出现位置:"
  QComboBox* moveSet1 = nullptr;
  QLabel* moveSet2Label = nullptr;    // "贺卡最终位置:"
  QComboBox* moveSet2 = nullptr;
  QCheckBox* cen = nullptr;           // "将贺卡锁定在屏幕正中央"
  QCheckBox* moves = nullptr;         // "贺卡在屏幕上循环移动"
  QRadioButton* click = nullptr;      // "鼠标单击贺卡后弹出贺词或退出"
  QRadioButton* dblClick = nullptr;   // "鼠标双击贺卡后弹出贺词或退出"
  QCheckBox* useTime = nullptr;       // "贺卡显示一定时间后自动弹出贺词  显示时间为:"
  QLineEdit* timelen = nullptr;       // "60"
  QLabel* timeUnit = nullptr;         // "秒"

  // Page 5 "设置贺卡运行结束时的动作".
  QCheckBox* openUrl = nullptr;       // "打开网址"
  QLineEdit* url = nullptr;           // "http://"
  QCheckBox* sendMail = nullptr;      // "启动默认邮件处理程序提示对方给我回信"
  QLabel* emailLabel = nullptr;       // "我的信箱:"
  QLineEdit* email = nullptr;
  QLabel* subjectLabel = nullptr;     // "默认邮件主题:"
  QLineEdit* subject = nullptr;
  QLabel* bodyLabel = nullptr;        // "默认邮件内容:"
  QPlainTextEdit* body = nullptr;
  QCheckBox* notify = nullptr;        // "让贺卡程序自动给我写信通知我对方已看过我的贺卡了"
  QLabel* notifyEmailLabel = nullptr; // "我的信箱:"
  QLineEdit* notifyEmail = nullptr;
  QLabel* notifyNameLabel = nullptr;  // "对方的名字:"
  QLineEdit* notifyName = nullptr;

  // Page 6 "贺卡预览及输出".
  QPushButton* preview = nullptr;     // "预览贺卡(&P)"
  QPushButton* build = nullptr;       // "生成贺卡(&B)"
  QPushButton* saveTemplate = nullptr;  // "保存模板(&S)"
  QPushButton* send = nullptr;        // "发送贺卡(&M)"
  QLabel* outputLabel = nullptr;      // "贺卡文件输出位置:"
  QLineEdit* output = nullptr;
  QPushButton* outputBrowse = nullptr;
  QLabel* iconLabel = nullptr;        // "贺卡文件图标位置:"
  QLineEdit* icon = nullptr;          // "默认"
  QPushButton* iconBrowse = nullptr;
  QLabel* iconPreview = nullptr;
  QCheckBox* asTemplate = nullptr;    // "输出为贺卡模板  模板名称为:"
  QLineEdit* templateName = nullptr;
};

}  // namespace ordinary_ui
