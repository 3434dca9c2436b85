// The pictures of the application bundle, one entry each, grouped by module. A picture whose name ends
// in "_p" is drawn pressed (darker) and one ending in "_d" disabled (paler) from the same entry kind.
// Add a picture by adding its line here.

#include "tools/pictures/Picture.h"

namespace pictures {

namespace {

constexpr std::uint32_t kBlue = 0x2F6FB7;
constexpr std::uint32_t kDeepBlue = 0x1F4F8F;
constexpr std::uint32_t kGreen = 0x3A9D5D;
constexpr std::uint32_t kOrange = 0xE8862E;
constexpr std::uint32_t kRed = 0xD9453A;
constexpr std::uint32_t kGrey = 0x8A929C;
constexpr std::uint32_t kPale = 0xF4F6F9;
constexpr std::uint32_t kTeal = 0x22A0A8;
constexpr std::uint32_t kPurple = 0x7A58B8;

const std::vector<Picture> kTable = {
    // Common: screen bases, navigation items, the module menu and the app square.
    {"CMN_BASE_bg", 320, 480, Look::backdrop, 0xE9EDF2},
    {"CMN_BASE_btn_n", 42, 31, Look::backButton, kDeepBlue},
    {"CMN_BASE_btn_p", 42, 31, Look::backButton, kDeepBlue},
    {"CMN_BASE_menu_n", 42, 31, Look::menuButton, kDeepBlue},
    {"CMN_BASE_menu_p", 42, 31, Look::menuButton, kDeepBlue},
    {"CMN_BASE_sort", 13, 12, Look::lines, 0xFFFFFF},
    {"CMN_BASE_title_logo", 120, 30, Look::glyph, 0xFFFFFF, "Marlune"},
    {"CMN_BASE_nodata", 100, 90, Look::empty, kGrey},
    {"CMN_NAVI_back_n", 55, 30, Look::backButton, kDeepBlue},
    {"CMN_NAVI_back_p", 55, 30, Look::backButton, kDeepBlue},
    {"CMN_Navi_notiIcon", 20, 20, Look::badge, kRed},
    {"CMN_NAVI_avatar", 60, 60, Look::avatar, kGrey},
    {"CMN_NAVI_item_hover_bg", 260, 44, Look::cell, 0x3B4656},
    {"CMN_NAVI_cms_n", 30, 30, Look::icon, kBlue, "课"},
    {"CMN_NAVI_cms_p", 30, 30, Look::icon, kBlue, "课"},
    {"CMN_NAVI_ems_n", 30, 30, Look::icon, kOrange, "考"},
    {"CMN_NAVI_ems_p", 30, 30, Look::icon, kOrange, "考"},
    {"CMN_NAVI_qsm_n", 30, 30, Look::icon, kTeal, "调"},
    {"CMN_NAVI_qsm_p", 30, 30, Look::icon, kTeal, "调"},
    {"CMN_NAVI_ans_n", 30, 30, Look::icon, kGreen, "问"},
    {"CMN_NAVI_ans_p", 30, 30, Look::icon, kGreen, "问"},
    {"CMN_NAVI_blg_n", 30, 30, Look::icon, kPurple, "博"},
    {"CMN_NAVI_blg_p", 30, 30, Look::icon, kPurple, "博"},
    {"CMN_NAVI_square_n", 30, 30, Look::icon, kRed, "广"},
    {"CMN_NAVI_square_p", 30, 30, Look::icon, kRed, "广"},
    {"CMN_NAVI_default_n", 30, 30, Look::icon, kGrey, "应"},
    {"CMN_NAVI_default_p", 30, 30, Look::icon, kGrey, "应"},
    {"CMN_PLAZ_notify_bg", 22, 22, Look::badge, kRed},
    {"CMN_PLAZ_header_bg", 320, 100, Look::banner, kBlue, "应用广场"},

    // Sign-in.
    {"LGN_MAIN_login_btn_n", 280, 44, Look::button, kBlue},
    {"LGN_MAIN_login_btn_p", 280, 44, Look::button, kBlue},
    {"LGN_MAIN_checked", 20, 20, Look::checkOn, kBlue},
    {"LGN_MAIN_unchecked", 20, 20, Look::checkOff, kGrey},

    // Settings and help.
    {"STG_MAIN_sync", 30, 30, Look::icon, kBlue, "同"},
    {"STG_MAIN_cleanCache", 30, 30, Look::icon, kOrange, "清"},
    {"STG_MAIN_checkVer", 30, 30, Look::icon, kTeal, "版"},
    {"STG_MAIN_edtPass", 30, 30, Look::icon, kPurple, "密"},
    {"STG_MAIN_help", 30, 30, Look::icon, kGreen, "帮"},
    {"STG_MAIN_3G", 30, 30, Look::icon, kGrey, "3G"},
    {"STG_MAIN_logout", 30, 30, Look::icon, kRed, "退"},
    {"STG_MAIN_btn_n", 280, 44, Look::button, kRed},
    {"STG_MAIN_btn_p", 280, 44, Look::button, kRed},
    {"STG_HELP_1", 320, 480, Look::page, kBlue, "1 选课"},
    {"STG_HELP_2", 320, 480, Look::page, kTeal, "2 学习"},
    {"STG_HELP_3", 320, 480, Look::page, kGreen, "3 下载"},
    {"STG_HELP_4", 320, 480, Look::page, kOrange, "4 考试"},
    {"STG_HELP_5", 320, 480, Look::page, kPurple, "5 问答"},
    {"STG_HELP_6", 320, 480, Look::page, kRed, "6 开始"},

    // Components: the shade left of a screen dragged back.
    {"leftside_shadow_bg", 10, 480, Look::backdrop, 0x5A5F66},

    // Courses.
    {"CMS_MAIN_allCourse_n", 30, 30, Look::icon, kBlue, "全"},
    {"CMS_MAIN_myCourse_n", 30, 30, Look::icon, kGreen, "我"},
    {"CMS_MAIN_download_n", 30, 30, Look::icon, kTeal, "下"},
    {"CMS_MAIN_search_n", 30, 30, Look::icon, kOrange, "搜"},
    {"CMS_MAIN_book_bg", 80, 100, Look::book, kBlue},
    {"CMS_ALLC_brief_n", 30, 30, Look::icon, kBlue, "简"},
    {"CMS_ALLC_study_n", 30, 30, Look::icon, kGreen, "学"},
    {"CMS_ALLC_comment_n", 30, 30, Look::icon, kOrange, "评"},
    {"CMS_ALLC_download_n", 30, 30, Look::icon, kTeal, "下"},
    {"CMS_CATE_cell_bg_2", 320, 44, Look::cell, kPale},
    {"CMS_CATE_sort", 13, 12, Look::lines, 0xFFFFFF},
    {"CMS_DCOM_down", 12, 8, Look::arrowDown, kGrey},
    {"CMS_DCOM_studyPlay_n", 30, 30, Look::play, kBlue},
    {"CMS_DOWN_state_active", 24, 24, Look::play, kGreen},
    {"CMS_DOWN_state_pause", 24, 24, Look::pause, kOrange},
    {"CMS_DOWN_state_wait", 24, 24, Look::glyph, kGrey, "…"},
    {"CMS_DOWN_tab_selected", 160, 36, Look::tab, kBlue},
    {"CMS_DOWN_tab_unselected", 160, 36, Look::tab, 0xC9D1DB},
    {"CMS_RECM_book", 100, 130, Look::book, kGreen},
    {"CMS_SDWN_downloaded_n", 24, 24, Look::checkOn, kGreen},
    {"CMS_SDWN_downloaded_p", 24, 24, Look::checkOn, kGreen},
    {"CMS_UDWN_dwnCheck", 20, 20, Look::checkOn, kBlue},
    {"CMS_UDWN_dwnUnCheck", 20, 20, Look::checkOff, kGrey},
    {"CMS_VIEW_add", 24, 24, Look::glyph, kGreen, "+"},
    {"CMS_VIEW_remove", 24, 24, Look::glyph, kRed, "−"},
    {"CMS_VIEW_studyDone", 24, 24, Look::checkOn, kGreen},
    {"CMS_VPLY_play_n", 40, 40, Look::play, 0xFFFFFF},
    {"CMS_VPLY_play_p", 40, 40, Look::play, 0xFFFFFF},
    {"CMS_VPLY_video_pause_n", 40, 40, Look::pause, 0xFFFFFF},
    {"CMS_VPLY_video_pause_p", 40, 40, Look::pause, 0xFFFFFF},
    {"CMS_WCOM_navi_write_n", 31, 31, Look::glyph, 0xFFFFFF, "✎"},

    // Exams.
    {"EMS_ALLE_state_before", 60, 20, Look::tag, kGrey, "未开始"},
    {"EMS_ALLE_state_enter", 60, 20, Look::tag, kGreen, "进入"},
    {"EMS_ALLE_state_expired", 60, 20, Look::tag, kRed, "已过期"},
    {"EMS_ALLE_state_unsubmit", 60, 20, Look::tag, kOrange, "未提交"},
    {"EMS_ALLE_state_wait", 60, 20, Look::tag, kTeal, "待批阅"},
    {"EMS_PROC_check_selected_n", 20, 20, Look::checkOn, kBlue},
    {"EMS_PROC_check_selected_d", 20, 20, Look::checkOn, kBlue},
    {"EMS_PROC_check_unselect_n", 20, 20, Look::checkOff, kGrey},
    {"EMS_PROC_check_unselect_d", 20, 20, Look::checkOff, kGrey},
    {"EMS_PROC_radio_selected_n", 20, 20, Look::radioOn, kBlue},
    {"EMS_PROC_radio_selected_d", 20, 20, Look::radioOn, kBlue},
    {"EMS_PROC_radio_unselect_n", 20, 20, Look::radioOff, kGrey},
    {"EMS_PROC_radio_unselect_d", 20, 20, Look::radioOff, kGrey},
    {"EMS_SRZT_emotion_pass", 80, 80, Look::face, kGreen, "pass"},
    {"EMS_SRZT_emotion_unpass", 80, 80, Look::face, kRed, "fail"},
    {"EMS_SRZT_emotion_wait", 80, 80, Look::face, kOrange, "wait"},
    {"EMS_VQUE_cell_bg_normal", 40, 40, Look::cell, kPale},
    {"EMS_VQUE_cell_bg_finish", 40, 40, Look::cell, 0xCFE3F7},
    {"EMS_VQUE_result_correct", 20, 20, Look::glyph, kGreen, "✓"},
    {"EMS_VQUE_result_wrong", 20, 20, Look::glyph, kRed, "✗"},

    // Surveys.
    {"QSM_ALLS_cell_bg_left_n", 20, 60, Look::cell, kPale},
    {"QSM_ALLS_cell_bg_left_p", 20, 60, Look::cell, kPale},
    {"QSM_ALLS_cell_bg_middle_n", 280, 60, Look::cell, kPale},
    {"QSM_ALLS_cell_bg_middle_p", 280, 60, Look::cell, kPale},
    {"QSM_ALLS_enter_btn_n", 60, 30, Look::button, kTeal, "进入"},
    {"QSM_ALLS_reply_mark", 30, 16, Look::tag, kOrange, "回复"},

    // Questions and answers.
    {"ANS_BASE_tab_bg_n", 320, 49, Look::bar, 0x2B3440},
    {"ANS_BASE_tab_Item_n_selected", 80, 49, Look::tab, kGreen},
    {"ANS_QUES_Icon_n", 30, 30, Look::icon, kGreen, "问"},
    {"ANS_QUES_Icon_p", 30, 30, Look::icon, kGreen, "问"},
    {"ANS_TOPI_Icon_n", 30, 30, Look::icon, kTeal, "题"},
    {"ANS_TOPI_Icon_p", 30, 30, Look::icon, kTeal, "题"},
    {"ANS_PESN_Icon_n", 30, 30, Look::icon, kBlue, "我"},
    {"ANS_PESN_Icon_p", 30, 30, Look::icon, kBlue, "我"},
    {"ANS_QUES_edit_n", 31, 31, Look::glyph, 0xFFFFFF, "✎"},
    {"ANS_QUES_edit_p", 31, 31, Look::glyph, 0xFFFFFF, "✎"},
    {"ANS_PESN_uer_default", 40, 40, Look::avatar, kGrey},
    {"ANS_QUES_no_question", 100, 90, Look::empty, kGrey},
    {"ANS_TOPI_no_topic", 100, 90, Look::empty, kGrey},

    // Micro-blog.
    {"BLG_BASE_bg", 320, 480, Look::backdrop, 0xEEF0F4},
    {"BLG_BASE_nav_bg", 320, 44, Look::bar, 0x3A3F58},
    {"BLG_BASE_nav_btn_n", 42, 31, Look::button, 0xDCE3EA},
    {"BLG_BASE_nav_btn_p", 42, 31, Look::button, 0xDCE3EA},
    {"BLG_BASE_home", 30, 30, Look::icon, kPurple, "首"},
    {"BLG_BASE_square", 30, 30, Look::icon, kOrange, "广"},
    {"BLG_BASE_topic", 30, 30, Look::icon, kTeal, "#"},
    {"BLG_BASE_myProfile", 30, 30, Look::icon, kBlue, "我"},
    {"BLG_BASE_user_def_s", 40, 40, Look::avatar, kGrey},
    {"BLG_BASE_cmn_pic", 80, 80, Look::photo, kTeal},
    {"BLG_MAIN_broadcast", 14, 14, Look::glyph, kGrey, "转"},
    {"BLG_MAIN_comments", 14, 14, Look::glyph, kGrey, "评"},
    {"BLG_ABLG_write_n", 31, 31, Look::glyph, 0xFFFFFF, "✎"},
    {"BLG_ABLG_write_p", 31, 31, Look::glyph, 0xFFFFFF, "✎"},
    {"BLG_BPLA_tab_button_n", 80, 36, Look::tab, 0xC9D1DB},
    {"BLG_BPLA_tab_button_p", 80, 36, Look::tab, kPurple},
    {"BLG_DETL_actionbar_left_p", 160, 49, Look::tab, 0x2B3440},
    {"BLG_DETL_actionbar_right_p", 160, 49, Look::tab, 0x2B3440},
    {"BLG_DETL_contment_btn", 80, 30, Look::button, kPurple},
    {"BLG_DETL_contment_btn_p", 80, 30, Look::button, kPurple},
    {"BLG_DETL_footrefresh", 20, 20, Look::glyph, kGrey, "↻"},
    {"BLG_DTOP_refresh_n", 31, 31, Look::glyph, 0xFFFFFF, "↻"},
    {"BLG_DTOP_refresh_p", 31, 31, Look::glyph, 0xFFFFFF, "↻"},
    {"BLG_UINF_attention_n", 70, 28, Look::button, kGreen, "+关注"},
    {"BLG_UINF_attention_btn_p", 70, 28, Look::button, kGreen, "+关注"},
    {"BLG_UINF_cancel_attention_btn_n", 70, 28, Look::button, kGrey, "取消关注"},
    {"BLG_UINF_cancel_attention_btn_p", 70, 28, Look::button, kGrey, "取消关注"},
    {"BLG_UINF_collect_n", 24, 24, Look::glyph, kOrange, "★"},
    {"BLG_UINF_collect_p", 24, 24, Look::glyph, kOrange, "★"},
    {"BLG_UINF_leftup_n", 150, 50, Look::cell, kPale},
    {"BLG_UINF_leftup_p", 150, 50, Look::cell, kPale},
    {"BLG_UINF_rightup_n", 150, 50, Look::cell, kPale},
    {"BLG_UINF_rightup_p", 150, 50, Look::cell, kPale},
    {"BLG_UINF_leftdown_n", 150, 50, Look::cell, kPale},
    {"BLG_UINF_leftdown_p", 150, 50, Look::cell, kPale},
    {"BLG_UINF_rightdown_n", 150, 50, Look::cell, kPale},
    {"BLG_UINF_rightdown_p", 150, 50, Look::cell, kPale},
    {"BLG_UINF_user_def_big", 70, 70, Look::avatar, kGrey},
    {"BLG_WBLG_back_n", 31, 31, Look::backArrow, 0x2C3046},
    {"BLG_WBLG_back_p", 31, 31, Look::backArrow, 0x2C3046},
    {"BLG_WCOM_confirm", 42, 31, Look::button, kPurple, "确定"},
};

}  // namespace

const std::vector<Picture>& pictureTable() {
  return kTable;
}

}  // namespace pictures
