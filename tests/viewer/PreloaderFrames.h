#pragma once
// The actions of the two frames of a preloader as the era made them: the first goes on to the third
// frame (where the game starts) once the whole movie is loaded, the second goes back to the first.

#include "Actions.h"

#include <string>
#include <vector>

inline std::vector<swf::Actions> preloaderFrames() {
    using swf::Op;
    swf::Actions wait, back;
    wait.push({"_framesloaded"}).op(Op::GetVariable).push({"_totalframes"}).op(Op::GetVariable);
    wait.op(Op::Less2)
        .ifTrue("loading")
        .record(0x81, std::string("\x02\x00", 2))
        .op(Op::Play)
        .label("loading");
    back.record(0x81, std::string(2, '\0')).op(Op::Play);
    return {wait, back};
}
