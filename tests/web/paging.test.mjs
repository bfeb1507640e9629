// The host's tools that leave a bill: previous and next page through the stored sales bills as
// they were made, delete asks and deletes, exit closes the window (asking first when the bill
// changed).
import { test, after, before } from 'node:test';
import assert from 'node:assert/strict';
import {
  person, saleBill, head, typeCell, clickTool, messageBox, answer, idle, URL,
} from './lib/harness.mjs';

let admin;
const numbers = [];
before(async () => {
  admin = await person('admin');
  const { page } = admin;
  for (const qty of [2, 5]) {
    await saleBill(page, { qty });
    await clickTool(page, 'mnuEditFileSave');
    await idle(page);
    numbers.push(await head(page, 'FBillNo').inputValue());
  }
  assert.match(numbers[1], /^XSD/);
});
after(async () => {
  await admin.close();
});

const billNo = (page) => head(page, 'FBillNo').inputValue();

test('previous and next page through the stored bills', async () => {
  const { page } = admin;
  assert.equal(await billNo(page), numbers[1]);
  await clickTool(page, 'mnuDataPre2');
  await idle(page);
  assert.equal(await billNo(page), numbers[0]);
  assert.equal(await page.locator('.statusbar .state').textContent(), '查看');
  await clickTool(page, 'mnuDataNext2');
  await idle(page);
  assert.equal(await billNo(page), numbers[1]);
  await clickTool(page, 'mnuDataNext2');
  assert.equal((await messageBox(page)).text, '已经是最后一张单据。');
  await answer(page, '确定');
  assert.equal(await billNo(page), numbers[1]);
});

test('a changed bill asks before it is left', async () => {
  const { page } = admin;
  await typeCell(page, 'FShowQty', 1, '1');
  await clickTool(page, 'mnuDataPre2');
  const box = await messageBox(page);
  assert.equal(box.text, '单据已经修改，是否保存？');
  assert.deepEqual(box.buttons, ['是', '否', '取消']);
  await answer(page, '取消');
  assert.equal(await billNo(page), numbers[1], 'Cancel stays');
  await clickTool(page, 'mnuDataPre2');
  await messageBox(page);
  await answer(page, '是');
  await idle(page);
  assert.equal(await billNo(page), numbers[0], 'Yes saves and goes on');
});

test('delete asks, then deletes the bill', async () => {
  const { page } = admin;
  assert.equal(await billNo(page), numbers[0]);
  await clickTool(page, 'mnuEditFileDelete');
  const box = await messageBox(page);
  assert.equal(box.text, '确定要删除这张单据吗？');
  await answer(page, '否');
  assert.equal(await billNo(page), numbers[0]);
  await clickTool(page, 'mnuEditFileDelete');
  await messageBox(page);
  await answer(page, '是');
  await idle(page);
  assert.equal(await billNo(page), '', 'a new bill takes its place');
  await clickTool(page, 'mnuDataPre2');
  await idle(page);
  assert.equal(await billNo(page), numbers[1], 'the deleted bill is gone from the pages');
});

test('exit closes the window', async () => {
  const { page } = admin;
  await clickTool(page, 'mnuFileExit');
  await page.waitForSelector('.start .card');
  assert.equal(page.url(), `${URL}/#/`);
});
