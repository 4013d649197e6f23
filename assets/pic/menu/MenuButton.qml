// One menu button: a rounded tile with a badge and a caption; a click sends its command word.
import QtQuick
import QtQuick.Layouts

Item {
    id: button

    property string command: ""
    property string label: ""
    property string badge: ""
    property real u: 1
    property string fontFamily: "WenQuanYi Micro Hei"
    // "normal" or "exit" (the quit button uses a muted warm accent).
    property string variant: "normal"

    readonly property bool hovered: mouse.containsMouse
    readonly property bool pressed: mouse.pressed
    readonly property color accent: variant === "exit" ? "#a8473b" : "#0f5e6e"
    readonly property color accentLight: variant === "exit" ? "#c9705f" : "#2f8fb0"
    // Face colours: top and bottom of the gradient when hovered and when pressed.
    readonly property color hoverTop: variant === "exit" ? "#fdf7f5" : "#f3fafc"
    readonly property color hoverBottom: variant === "exit" ? "#f5e0da" : "#d9edf2"
    readonly property color pressTop: variant === "exit" ? "#f3d9d2" : "#d4e8ee"
    readonly property color pressBottom: variant === "exit" ? "#e8c3b9" : "#c1dde5"

    implicitHeight: Math.round(34 * u)
    Layout.fillWidth: true
    Layout.fillHeight: true
    Layout.minimumHeight: Math.round(24 * u)
    Layout.preferredWidth: 10

    Rectangle {
        id: face
        anchors.fill: parent
        radius: Math.round(7 * button.u)
        scale: button.pressed ? 0.96 : (button.hovered ? 1.02 : 1.0)
        border.width: 1
        border.color: button.hovered ? button.accentLight : "#c9dce1"
        gradient: Gradient {
            GradientStop {
                position: 0
                color: button.pressed ? button.pressTop : (button.hovered ? button.hoverTop : "#ffffff")
                Behavior on color { ColorAnimation { duration: 140 } }
            }
            GradientStop {
                position: 1
                color: button.pressed ? button.pressBottom : (button.hovered ? button.hoverBottom : "#edf4f6")
                Behavior on color { ColorAnimation { duration: 140 } }
            }
        }
        Behavior on scale { NumberAnimation { duration: 130; easing.type: Easing.OutQuad } }
        Behavior on border.color { ColorAnimation { duration: 140 } }

        RowLayout {
            anchors.fill: parent
            anchors.leftMargin: Math.round(7 * button.u)
            anchors.rightMargin: Math.round(8 * button.u)
            spacing: Math.round(8 * button.u)

            // The badge: a small teal tile with one glyph.
            Rectangle {
                visible: button.badge !== ""
                Layout.alignment: Qt.AlignVCenter
                Layout.preferredWidth: Math.round(Math.min(24 * button.u, face.height - 8 * button.u))
                Layout.preferredHeight: Layout.preferredWidth
                radius: Math.round(5 * button.u)
                gradient: Gradient {
                    GradientStop { position: 0; color: button.accentLight }
                    GradientStop { position: 1; color: button.accent }
                }
                Text {
                    anchors.centerIn: parent
                    text: button.badge
                    color: "#ffffff"
                    font.family: button.fontFamily
                    font.pixelSize: Math.round(parent.height * 0.56)
                    font.bold: true
                }
            }

            Text {
                Layout.fillWidth: true
                Layout.fillHeight: true
                text: button.label
                color: button.hovered ? button.accent : "#1f2d33"
                font.family: button.fontFamily
                font.pixelSize: Math.round(14 * button.u)
                fontSizeMode: Text.HorizontalFit
                minimumPixelSize: 9
                verticalAlignment: Text.AlignVCenter
                Behavior on color { ColorAnimation { duration: 140 } }
            }
        }
    }

    MouseArea {
        id: mouse
        anchors.fill: parent
        hoverEnabled: true
        cursorShape: Qt.PointingHandCursor
        onClicked: fscommand(button.command, "")
    }
}
