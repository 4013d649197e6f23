// Prepdesk main menu: grouped buttons that send command words to the program through fscommand().
import QtQuick
import QtQuick.Layouts
import "menu"

Rectangle {
    id: root
    width: 800
    height: 600
    clip: true

    readonly property string fontFamily: "WenQuanYi Micro Hei"
    // Everything is drawn for 800 x 600 and scaled by u, so both screen modes keep the same proportions.
    readonly property real u: Math.max(0.8, Math.min(width / 800, height / 600))
    readonly property real gap: Math.round(12 * u)
    // True once the opening animation has settled.
    property bool introDone: false

    gradient: Gradient {
        GradientStop { position: 0.0; color: "#ffffff" }
        GradientStop { position: 1.0; color: "#e9f0f2" }
    }

    // Quiet background shapes in the upper right corner.
    Rectangle {
        width: 420 * root.u; height: width; radius: width / 2
        x: root.width - width * 0.62; y: -height * 0.58
        color: "#2f8fb0"; opacity: 0.07
    }
    Rectangle {
        width: 260 * root.u; height: width; radius: width / 2
        x: root.width - width * 1.25; y: -height * 0.62
        color: "#0f5e6e"; opacity: 0.05
    }
    Rectangle {
        width: 340 * root.u; height: width; radius: width / 2
        x: -width * 0.55; y: root.height - height * 0.35
        color: "#2f8fb0"; opacity: 0.04
    }

    Item {
        id: stage
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.top: parent.top
        anchors.bottom: parent.bottom
        anchors.topMargin: Math.round(14 * root.u)
        anchors.bottomMargin: Math.round(10 * root.u)
        width: Math.min(root.width - 2 * Math.round(22 * root.u), root.height * 1.6)

        // Title strip: emblem, product name, subtitle and the motto.
        Item {
            id: header
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.top: parent.top
            height: Math.round(66 * root.u)
            opacity: 0
            transform: Translate { id: headerShift; y: -14 * root.u }

            RowLayout {
                anchors.fill: parent
                anchors.bottomMargin: Math.round(8 * root.u)
                spacing: Math.round(14 * root.u)

                Emblem {
                    Layout.preferredWidth: Math.round(54 * root.u)
                    Layout.preferredHeight: Math.round(54 * root.u)
                    Layout.alignment: Qt.AlignVCenter
                }
                ColumnLayout {
                    Layout.alignment: Qt.AlignVCenter
                    spacing: Math.round(2 * root.u)
                    Text {
                        text: "Prepdesk"
                        color: "#0f5e6e"
                        font.family: root.fontFamily
                        font.pixelSize: Math.round(30 * root.u)
                        font.bold: true
                        font.letterSpacing: 1
                    }
                    Text {
                        text: "注册安全工程师职业资格考试 · 学习与模拟"
                        color: "#4d6770"
                        font.family: root.fontFamily
                        font.pixelSize: Math.round(14 * root.u)
                        font.letterSpacing: 1
                    }
                }
                Item { Layout.fillWidth: true }
                Rectangle {
                    Layout.alignment: Qt.AlignVCenter
                    Layout.preferredHeight: Math.round(28 * root.u)
                    Layout.preferredWidth: motto.implicitWidth + Math.round(28 * root.u)
                    radius: height / 2
                    color: "#e3f1f4"
                    border.color: "#bcdbe3"
                    Text {
                        id: motto
                        anchors.centerIn: parent
                        text: "安全第一 · 预防为主 · 综合治理"
                        color: "#0f5e6e"
                        font.family: root.fontFamily
                        font.pixelSize: Math.round(12 * root.u)
                    }
                }
            }
            Rectangle {
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.bottom: parent.bottom
                height: Math.max(2, Math.round(2 * root.u))
                radius: height / 2
                gradient: Gradient {
                    orientation: Gradient.Horizontal
                    GradientStop { position: 0.0; color: "#0f5e6e" }
                    GradientStop { position: 0.55; color: "#2f8fb0" }
                    GradientStop { position: 1.0; color: "#d6e9ee" }
                }
            }
        }

        // The groups in three columns of equal height: the first two hold five and two rows of
        // buttons, the third two, two and one, so its rows come out a little taller.
        Item {
            id: body
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.top: header.bottom
            anchors.bottom: footer.top
            anchors.topMargin: Math.round(14 * root.u)
            anchors.bottomMargin: Math.round(8 * root.u)

            readonly property real colWidth: (width - 2 * root.gap) / 3
            readonly property real chrome: chapters.chrome
            readonly property real sp: chapters.rowSpacing
            readonly property real rowH: (height - root.gap - 2 * chrome - 5 * sp) / 7
            readonly property real rowH3: (height - 2 * root.gap - 3 * chrome - 2 * sp) / 5
            function cardHeight(rows) { return chrome + rows * rowH + (rows - 1) * sp; }
            function sideHeight(rows) { return chrome + rows * rowH3 + (rows - 1) * sp; }

            GroupCard {
                id: chapters
                x: 0; y: 0
                width: body.colWidth; height: body.cardHeight(5)
                objectName: "grp_chapters"; title: "章节练习"; hint: "按科目、章节逐题练习"
                u: root.u; fontFamily: root.fontFamily; introDelay: 150
                MenuButton { objectName: "btn_lx"; command: "lx"; label: "科目一"; badge: "一"; u: root.u }
                MenuButton { objectName: "btn_lx2"; command: "lx2"; label: "科目二"; badge: "二"; u: root.u }
                MenuButton { objectName: "btn_lx3"; command: "lx3"; label: "科目三"; badge: "三"; u: root.u }
                MenuButton { objectName: "btn_lx4"; command: "lx4"; label: "科目四"; badge: "四"; u: root.u }
                MenuButton { objectName: "btn_lx5"; command: "lx5"; label: "科目五"; badge: "五"; u: root.u }
            }
            GroupCard {
                x: 0; y: chapters.height + root.gap
                width: body.colWidth; height: body.cardHeight(2)
                objectName: "grp_laws"; title: "法规考点"; hint: "按法规条文学习"
                u: root.u; fontFamily: root.fontFamily; introDelay: 390
                MenuButton { objectName: "btn_ksdg"; command: "ksdg"; label: "法规考点学习"; badge: "法"; u: root.u }
                MenuButton { objectName: "btn_zsd"; command: "zsd"; label: "考点知识速查"; badge: "点"; u: root.u }
            }

            GroupCard {
                id: exams
                x: body.colWidth + root.gap; y: 0
                width: body.colWidth; height: body.cardHeight(5)
                objectName: "grp_exams"; title: "模拟考试"; hint: "限时答题 · 自动评分"
                u: root.u; fontFamily: root.fontFamily; introDelay: 230
                MenuButton { objectName: "btn_mnks"; command: "mnks"; label: "综合知识模拟试卷"; badge: "1"; u: root.u }
                MenuButton { objectName: "btn_mnks2"; command: "mnks2"; label: "专业知识（一）模拟试卷"; badge: "2"; u: root.u }
                MenuButton { objectName: "btn_mnks3"; command: "mnks3"; label: "专业知识（二）模拟试卷"; badge: "3"; u: root.u }
                MenuButton { objectName: "btn_mnks4"; command: "mnks4"; label: "综合分析题专项模拟"; badge: "4"; u: root.u }
                MenuButton { objectName: "btn_mnks5"; command: "mnks5"; label: "案例分析题专项模拟"; badge: "5"; u: root.u }
            }
            GroupCard {
                x: body.colWidth + root.gap; y: exams.height + root.gap
                width: body.colWidth; height: body.cardHeight(2)
                objectName: "grp_records"; title: "学习管理"; hint: "记录与计划"
                u: root.u; fontFamily: root.fontFamily; introDelay: 470; columns: 2
                MenuButton { objectName: "btn_cj"; command: "cj"; label: "成绩记录"; badge: "绩"; u: root.u }
                MenuButton { objectName: "btn_tj"; command: "tj"; label: "统计图表"; badge: "图"; u: root.u }
                MenuButton { objectName: "btn_rz"; command: "rz"; label: "学习日志"; badge: "志"; u: root.u }
                MenuButton { objectName: "btn_szjh"; command: "szjh"; label: "学习计划"; badge: "计"; u: root.u }
            }

            GroupCard {
                id: settings
                x: 2 * (body.colWidth + root.gap); y: 0
                width: body.colWidth; height: body.sideHeight(2)
                objectName: "grp_settings"; title: "设置"; hint: "考试、音乐与题库"
                u: root.u; fontFamily: root.fontFamily; introDelay: 310; columns: 2
                MenuButton { objectName: "btn_szks"; command: "szks"; label: "考试设置"; badge: "考"; u: root.u }
                MenuButton { objectName: "btn_music"; command: "music"; label: "背景音乐"; badge: "乐"; u: root.u }
                MenuButton { objectName: "btn_sztime"; command: "sztime"; label: "答题时间"; badge: "时"; u: root.u }
                MenuButton { objectName: "btn_sj"; command: "sj"; label: "题库升级"; badge: "升"; u: root.u }
            }
            GroupCard {
                x: 2 * (body.colWidth + root.gap); y: settings.height + root.gap
                width: body.colWidth; height: body.sideHeight(2)
                objectName: "grp_docs"; title: "资料与帮助"; hint: "法规、网点与说明"
                u: root.u; fontFamily: root.fontFamily; introDelay: 550; columns: 2
                MenuButton { objectName: "btn_fg"; command: "fg"; label: "法规全文"; badge: "典"; u: root.u }
                MenuButton { objectName: "btn_lxfs"; command: "lxfs"; label: "发行网点"; badge: "店"; u: root.u }
                MenuButton { objectName: "btn_help"; command: "help"; label: "使用帮助"; badge: "?"; u: root.u }
                MenuButton { objectName: "btn_about"; command: "about"; label: "关于"; badge: "i"; u: root.u }
            }
            GroupCard {
                x: 2 * (body.colWidth + root.gap); y: body.height - height
                width: body.colWidth; height: body.sideHeight(1)
                objectName: "grp_quit"; title: "退出"; hint: "结束本次学习"
                u: root.u; fontFamily: root.fontFamily; introDelay: 630
                MenuButton { objectName: "btn_quit"; command: "quit"; label: "退出程序"; badge: "×"; variant: "exit"; u: root.u }
            }
        }

        Text {
            id: footer
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.bottom: parent.bottom
            height: Math.round(18 * root.u)
            opacity: 0
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignVCenter
            text: "小提示：先按章节练习打牢基础，再用模拟试卷检验学习效果；每天完成学习计划，考试更有把握。"
            color: "#7d9198"
            font.family: root.fontFamily
            font.pixelSize: Math.round(12 * root.u)
            fontSizeMode: Text.HorizontalFit
            minimumPixelSize: 8
            elide: Text.ElideRight
        }
    }

    SequentialAnimation {
        running: true
        ParallelAnimation {
            NumberAnimation { target: header; property: "opacity"; to: 1; duration: 500; easing.type: Easing.OutCubic }
            NumberAnimation { target: headerShift; property: "y"; to: 0; duration: 600; easing.type: Easing.OutCubic }
        }
        PauseAnimation { duration: 200 }
        NumberAnimation { target: footer; property: "opacity"; to: 1; duration: 500 }
        // The last card starts at 630 ms and takes 520 ms.
        PauseAnimation { duration: 100 }
        ScriptAction { script: root.introDone = true }
    }
}
