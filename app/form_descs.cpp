#include "app/form_descs.h"

#include "core/cp1251.h"

using namespace ui;

namespace {

// Fonts by character height in pixels: 11 px is 8 pt, 13 px 10 pt, 19 px 14 pt.
const TFont kDialogFont{"MS Sans Serif", 8, clWindowText, {}};
const TFont kBoldFont{"MS Sans Serif", 8, clWindowText, {.Bold = true}};
const TFont kButtonFont{"MS Sans Serif", 14, clWindowText, {}};
// The grid's data cells; its header row has its own bold font.
const TFont kGridFont{"Tahoma", 8, clWindowText, {}};

TControlDesc label(const char* name, TRect bounds, AnsiString caption, TFont font = kDialogFont) {
  return {TControlClass::Label, name, bounds, std::move(caption), std::move(font)};
}

TControlDesc button(const char* name, TRect bounds, AnsiString caption, const char* onClick) {
  return {TControlClass::PushButton, name,  bounds, std::move(caption), kButtonFont,
          akTop | akRight,           false, onClick};
}

}  // namespace

const TFormDesc& UpdateFormDesc() {
  static const TFormDesc desc{
      "UpdateForm",
      Cp1251("Обновление базы  - доступны новые данные"),
      580,
      534,
      TPosition::ScreenCenter,
      clBtnFace,
      kDialogFont,
      "FormShow",
      {
          {TControlClass::ProgressGauge,
           "ProgressBar",
           {0, 4, 579, 20},
           "",
           kDialogFont,
           akLeft | akTop | akRight,
           true,
           "",
           8404992},
          label("Label2", {0, 29, 322, 15}, Cp1251("Существует несколько типов обновлений:"),
                kBoldFont),
          label("Label1", {0, 56, 89, 15}, "Usual (current)",
                {"MS Sans Serif", 10, clWindowText, {}}),
          label("Label3", {96, 48, 406, 31},
                Cp1251("- обычное, закачивается автоматически с помощью данной программы")),
          label("Label4", {1, 87, 49, 15}, "Critical",
                {"Arial", 10, clRed, {.Bold = true, .Italic = true}}),
          label("Label5", {96, 80, 406, 31},
                Cp1251("- критическое, требуется вручную скачать полностью программу с сайта и "
                       "установить поверх существующей версии")),
          label("Label6", {1, 125, 82, 15}, "New version", {"Arial", 10, clRed, {.Bold = true}}),
          label("Label7", {96, 117, 406, 31},
                Cp1251("- новая версия с новыми функциями и возможностями. Требуется вручную "
                       "скачать программу с сайта и установить поверх существующей версии")),
          label("Label8", {0, 155, 150, 15}, Cp1251("Дата текущей версии:"), kBoldFont),
          label("DateLabel", {155, 155, 161, 15}, "", kBoldFont),
          {TControlClass::RichStringGrid,
           "UpdateSg",
           {1, 179, 575, 302},
           "",
           kGridFont,
           akLeft | akTop | akBottom},
          button("Button2", {167, 490, 112, 34}, Cp1251("Обновить"), "Button2Click"),
          button("Button1", {299, 490, 112, 34}, Cp1251("Отмена"), "Button1Click"),
      }};
  return desc;
}

const TFormDesc& CopyFormDesc() {
  static const TFormDesc desc{
      "CopyForm",
      Cp1251("Завершение обновления"),
      328,
      83,
      TPosition::MainFormCenter,
      clBtnFace,
      kDialogFont,
      "",
      {
          label("Label1", {2, 3, 327, 35},
                "Please check that all Quorvane modules are closed and press \"Continue\""),
          button("Button2", {5, 44, 154, 34}, Cp1251("Продолжить  >>"), "Button2Click"),
          button("Button1", {172, 44, 154, 34}, Cp1251("Отмена"), "Button1Click"),
      }};
  return desc;
}
