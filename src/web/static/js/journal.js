// The errors panel: the session's journal (failed SQL statements and exceptions of handlers and
// components), shown only when it holds something.
import { h } from './api.js';

export function renderJournal(panel, journal) {
  if (!journal) return;
  panel.hidden = !journal.count;
  if (!journal.count) return;
  const open = panel.querySelector('details')?.open ?? false;
  panel.replaceChildren(h('details', { open },
    h('summary', null, `错误 (${journal.count})`),
    h('ol', null, journal.entries.map((e) => h('li', null,
      h('span.where', null, e.where || e.kind), ' ', h('span.error', null, e.error),
      e.text ? h('pre', null, e.text) : null)))));
}
