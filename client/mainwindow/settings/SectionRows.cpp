#include "SectionRows.h"

#include "MainFormUi.h"

KeyGroupRow KeyGroup(Ui::MainForm* ui, int group)
{
    const KeyGroupRow rows[10] = {
        {ui->GroupCheckBox1, ui->GroupLineEdit1, ui->GroupComboBox1},
        {ui->GroupCheckBox2, ui->GroupLineEdit2, ui->GroupComboBox2},
        {ui->GroupCheckBox3, ui->GroupLineEdit3, ui->GroupComboBox3},
        {ui->GroupCheckBox4, ui->GroupLineEdit4, ui->GroupComboBox4},
        {ui->GroupCheckBox5, ui->GroupLineEdit5, ui->GroupComboBox5},
        {ui->GroupCheckBox6, ui->GroupLineEdit6, ui->GroupComboBox6},
        {ui->GroupCheckBox7, ui->GroupLineEdit7, ui->GroupComboBox7},
        {ui->GroupCheckBox8, ui->GroupLineEdit8, ui->GroupComboBox8},
        {ui->GroupCheckBox9, ui->GroupLineEdit9, ui->GroupComboBox9},
        {ui->GroupCheckBox10, ui->GroupLineEdit10, ui->GroupComboBox10},
    };
    return rows[group];
}

TimeWindowRow TimeWindow(Ui::MainForm* ui, int window)
{
    const TimeWindowRow rows[21] = {
        {ui->TimeQuantumCheckBox0_1, ui->TimeQuantumPicker0_1}, {ui->TimeQuantumCheckBox0_2, ui->TimeQuantumPicker0_2},
        {ui->TimeQuantumCheckBox0_3, ui->TimeQuantumPicker0_3}, {ui->TimeQuantumCheckBox1_1, ui->TimeQuantumPicker1_1},
        {ui->TimeQuantumCheckBox1_2, ui->TimeQuantumPicker1_2}, {ui->TimeQuantumCheckBox1_3, ui->TimeQuantumPicker1_3},
        {ui->TimeQuantumCheckBox2_1, ui->TimeQuantumPicker2_1}, {ui->TimeQuantumCheckBox2_2, ui->TimeQuantumPicker2_2},
        {ui->TimeQuantumCheckBox2_3, ui->TimeQuantumPicker2_3}, {ui->TimeQuantumCheckBox3_1, ui->TimeQuantumPicker3_1},
        {ui->TimeQuantumCheckBox3_2, ui->TimeQuantumPicker3_2}, {ui->TimeQuantumCheckBox3_3, ui->TimeQuantumPicker3_3},
        {ui->TimeQuantumCheckBox4_1, ui->TimeQuantumPicker4_1}, {ui->TimeQuantumCheckBox4_2, ui->TimeQuantumPicker4_2},
        {ui->TimeQuantumCheckBox4_3, ui->TimeQuantumPicker4_3}, {ui->TimeQuantumCheckBox5_1, ui->TimeQuantumPicker5_1},
        {ui->TimeQuantumCheckBox5_2, ui->TimeQuantumPicker5_2}, {ui->TimeQuantumCheckBox5_3, ui->TimeQuantumPicker5_3},
        {ui->TimeQuantumCheckBox6_1, ui->TimeQuantumPicker6_1}, {ui->TimeQuantumCheckBox6_2, ui->TimeQuantumPicker6_2},
        {ui->TimeQuantumCheckBox6_3, ui->TimeQuantumPicker6_3},
    };
    return rows[window];
}

ReplyDayRow ReplyDay(Ui::MainForm* ui, int day)
{
    const ReplyDayRow rows[7] = {
        {ui->SunPage,
         ui->AllDayLongReplyCheckBox1,
         ui->AllDayLongReplyComboBox1,
         {{ui->ReplyTimeSlotCheckBox1_1, ui->ReplyTimeSlotPicker1_1, ui->ReplyTimeSlotComboBox1_1},
          {ui->ReplyTimeSlotCheckBox1_2, ui->ReplyTimeSlotPicker1_2, ui->ReplyTimeSlotComboBox1_2},
          {ui->ReplyTimeSlotCheckBox1_3, ui->ReplyTimeSlotPicker1_3, ui->ReplyTimeSlotComboBox1_3}}},
        {ui->MonPage,
         ui->AllDayLongReplyCheckBox2,
         ui->AllDayLongReplyComboBox2,
         {{ui->ReplyTimeSlotCheckBox2_1, ui->ReplyTimeSlotPicker2_1, ui->ReplyTimeSlotComboBox2_1},
          {ui->ReplyTimeSlotCheckBox2_2, ui->ReplyTimeSlotPicker2_2, ui->ReplyTimeSlotComboBox2_2},
          {ui->ReplyTimeSlotCheckBox2_3, ui->ReplyTimeSlotPicker2_3, ui->ReplyTimeSlotComboBox2_3}}},
        {ui->TuesPage,
         ui->AllDayLongReplyCheckBox3,
         ui->AllDayLongReplyComboBox3,
         {{ui->ReplyTimeSlotCheckBox3_1, ui->ReplyTimeSlotPicker3_1, ui->ReplyTimeSlotComboBox3_1},
          {ui->ReplyTimeSlotCheckBox3_2, ui->ReplyTimeSlotPicker3_2, ui->ReplyTimeSlotComboBox3_2},
          {ui->ReplyTimeSlotCheckBox3_3, ui->ReplyTimeSlotPicker3_3, ui->ReplyTimeSlotComboBox3_3}}},
        {ui->WedPage,
         ui->AllDayLongReplyCheckBox4,
         ui->AllDayLongReplyComboBox4,
         {{ui->ReplyTimeSlotCheckBox4_1, ui->ReplyTimeSlotPicker4_1, ui->ReplyTimeSlotComboBox4_1},
          {ui->ReplyTimeSlotCheckBox4_2, ui->ReplyTimeSlotPicker4_2, ui->ReplyTimeSlotComboBox4_2},
          {ui->ReplyTimeSlotCheckBox4_3, ui->ReplyTimeSlotPicker4_3, ui->ReplyTimeSlotComboBox4_3}}},
        {ui->ThurPage,
         ui->AllDayLongReplyCheckBox5,
         ui->AllDayLongReplyComboBox5,
         {{ui->ReplyTimeSlotCheckBox5_1, ui->ReplyTimeSlotPicker5_1, ui->ReplyTimeSlotComboBox5_1},
          {ui->ReplyTimeSlotCheckBox5_2, ui->ReplyTimeSlotPicker5_2, ui->ReplyTimeSlotComboBox5_2},
          {ui->ReplyTimeSlotCheckBox5_3, ui->ReplyTimeSlotPicker5_3, ui->ReplyTimeSlotComboBox5_3}}},
        {ui->FriPage,
         ui->AllDayLongReplyCheckBox6,
         ui->AllDayLongReplyComboBox6,
         {{ui->ReplyTimeSlotCheckBox6_1, ui->ReplyTimeSlotPicker6_1, ui->ReplyTimeSlotComboBox6_1},
          {ui->ReplyTimeSlotCheckBox6_2, ui->ReplyTimeSlotPicker6_2, ui->ReplyTimeSlotComboBox6_2},
          {ui->ReplyTimeSlotCheckBox6_3, ui->ReplyTimeSlotPicker6_3, ui->ReplyTimeSlotComboBox6_3}}},
        {ui->SatPage,
         ui->AllDayLongReplyCheckBox7,
         ui->AllDayLongReplyComboBox7,
         {{ui->ReplyTimeSlotCheckBox7_1, ui->ReplyTimeSlotPicker7_1, ui->ReplyTimeSlotComboBox7_1},
          {ui->ReplyTimeSlotCheckBox7_2, ui->ReplyTimeSlotPicker7_2, ui->ReplyTimeSlotComboBox7_2},
          {ui->ReplyTimeSlotCheckBox7_3, ui->ReplyTimeSlotPicker7_3, ui->ReplyTimeSlotComboBox7_3}}},
    };
    return rows[day];
}
