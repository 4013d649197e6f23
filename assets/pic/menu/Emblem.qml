// The product emblem: an open book with a tick on a teal tile, drawn in code.
import QtQuick

Rectangle {
    id: emblem
    radius: width * 0.22
    gradient: Gradient {
        GradientStop { position: 0; color: "#3aa0bf" }
        GradientStop { position: 1; color: "#0f5e6e" }
    }

    // A light sheen across the upper half.
    Rectangle {
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        height: parent.height * 0.5
        radius: parent.radius
        color: "#ffffff"
        opacity: 0.10
    }

    Canvas {
        id: art
        anchors.fill: parent
        anchors.margins: parent.width * 0.16
        onWidthChanged: requestPaint()
        onHeightChanged: requestPaint()
        onPaint: {
            const ctx = getContext("2d");
            const w = width, h = height;
            ctx.reset();
            ctx.lineJoin = "round";
            ctx.lineCap = "round";
            // Left and right pages, slightly curved at the top.
            ctx.fillStyle = "rgba(255,255,255,0.95)";
            ctx.beginPath();
            ctx.moveTo(w * 0.5, h * 0.30);
            ctx.quadraticCurveTo(w * 0.28, h * 0.14, w * 0.02, h * 0.22);
            ctx.lineTo(w * 0.02, h * 0.86);
            ctx.quadraticCurveTo(w * 0.28, h * 0.78, w * 0.5, h * 0.94);
            ctx.closePath();
            ctx.fill();
            ctx.fillStyle = "rgba(225,243,247,0.95)";
            ctx.beginPath();
            ctx.moveTo(w * 0.5, h * 0.30);
            ctx.quadraticCurveTo(w * 0.72, h * 0.14, w * 0.98, h * 0.22);
            ctx.lineTo(w * 0.98, h * 0.86);
            ctx.quadraticCurveTo(w * 0.72, h * 0.78, w * 0.5, h * 0.94);
            ctx.closePath();
            ctx.fill();
            // Text lines on the left page.
            ctx.strokeStyle = "rgba(15,94,110,0.45)";
            ctx.lineWidth = Math.max(1, w * 0.04);
            for (let i = 0; i < 3; ++i) {
                const y = h * (0.42 + i * 0.14);
                ctx.beginPath();
                ctx.moveTo(w * 0.12, y - h * 0.03);
                ctx.quadraticCurveTo(w * 0.26, y - h * 0.07, w * 0.40, y);
                ctx.stroke();
            }
            // The tick on the right page.
            ctx.strokeStyle = "#0f5e6e";
            ctx.lineWidth = Math.max(1.5, w * 0.085);
            ctx.beginPath();
            ctx.moveTo(w * 0.60, h * 0.55);
            ctx.lineTo(w * 0.70, h * 0.66);
            ctx.lineTo(w * 0.88, h * 0.40);
            ctx.stroke();
        }
    }
}
